#include "engine/rewrite_step.h"

#include <cstring>

namespace verdel {

TTextTable::TTextTable() : Pool(TextChunk, '\0') {}

void TTextTable::Set(unsigned char Code, std::string_view Text, int64_t Counted)
{
    Entries[Code] = {Pool.size(), Text.size(), Counted};
    Pool.append(Text);
    Pool.append(TextChunk, '\0');
}

TCharacterCounts CountCharacters(std::string_view Text)
{
    TCharacterCounts counts{};
    for (const char c : Text) ++counts[static_cast<unsigned char>(c)];
    return counts;
}

bool ExpandStep(std::string_view Source, const TTextTable& Table, int64_t Limit, std::string& Target)
{
    // First how many characters fit and how long their texts are, so that the
    // output is sized once and never zero-filled beyond what is written.
    size_t fit = 0;
    size_t length = 0;
    int64_t counted = 0;
    for (; fit < Source.size(); ++fit) {
        const TTextTable::TEntry& e = Table.Entries[static_cast<unsigned char>(Source[fit])];
        counted += e.Counted;
        if (counted > Limit) break;
        length += e.Length;
    }

    Target.resize(length + TextChunk);
    char* out = Target.data();
    const char* pool = Table.Pool.data();
    for (size_t i = 0; i < fit; ++i) {
        const TTextTable::TEntry& e = Table.Entries[static_cast<unsigned char>(Source[i])];
        const char* from = pool + e.Offset;
        for (size_t k = 0; k < e.Length; k += TextChunk) std::memcpy(out + k, from + k, TextChunk);
        out += e.Length;
    }
    Target.resize(length);
    return fit == Source.size();
}

} // namespace verdel
