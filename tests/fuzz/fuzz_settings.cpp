// Fuzz target: a settings file through the reader; writing the flags that
// were read and reading the result again must find every key with its flag.
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/settings.h"
#include "tests/fuzz/fuzz_target.h"

using namespace verdel;

namespace {

constexpr bool TSettings::*Flags[] = {&TSettings::CylindersInsteadofBlocks, &TSettings::SetQToDrawCones,
                                      &TSettings::SetWToDrawBlocks, &TSettings::SetRToDrawPyramids,
                                      &TSettings::ShowStartText};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string_view text(reinterpret_cast<const char*>(Data), Size);
    TSettings read;
    ReadSettingsText(read, text);
    const std::string written = WriteSettingsText(text, read);

    // Starting from the opposite flags shows that every key is read again.
    TSettings again;
    for (bool TSettings::*flag : Flags) again.*flag = !(read.*flag);
    ReadSettingsText(again, written);
    for (bool TSettings::*flag : Flags)
        if (again.*flag != read.*flag) std::abort();
    return 0;
}
