// Fuzz target: a rich-text file through the reader and its plain text.
#include <string_view>

#include "app/rtf_reader.h"
#include "tests/fuzz/fuzz_target.h"

using namespace verdel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const TRichDocument document = ReadRichText(std::string_view(reinterpret_cast<const char*>(Data), Size));
    PlainText(document);
    return 0;
}
