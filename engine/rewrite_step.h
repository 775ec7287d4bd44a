// One parallel rewriting step: every character replaced by its text from a 256-entry table.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace verdel {

// Texts are copied in fixed 16-byte chunks, one vector move for the usual
// short text; every stored text and every step's output carry this much slack.
constexpr size_t TextChunk = 16;

// No limit on a step's counted total.
constexpr int64_t NoLengthLimit = std::numeric_limits<int64_t>::max();

// A text for every character code, and the length each counts against a step's limit.
class TTextTable {
public:
    // Every text empty.
    TTextTable();

    void Set(unsigned char Code, std::string_view Text, int64_t Counted);

    std::string_view Text(unsigned char Code) const
    {
        return std::string_view(Pool).substr(Entries[Code].Offset, Entries[Code].Length);
    }
    int64_t Counted(unsigned char Code) const { return Entries[Code].Counted; }

private:
    friend bool ExpandStep(std::string_view, const TTextTable&, int64_t, std::string&);

    struct TEntry {
        size_t Offset = 0;
        size_t Length = 0;
        int64_t Counted = 0;
    };
    std::array<TEntry, 256> Entries;
    std::string Pool; // the texts, each followed by TextChunk bytes of slack
};

// How often each character occurs in a text.
using TCharacterCounts = std::array<int64_t, 256>;

// The characters of Text counted.
TCharacterCounts CountCharacters(std::string_view Text);

// One step: Target becomes Source with every character replaced by its text.
// When the running sum of counted lengths would pass Limit at a character, the
// step stops before it and returns false; Target then holds the texts of the
// characters before it. Target only grows to the length written.
bool ExpandStep(std::string_view Source, const TTextTable& Table, int64_t Limit, std::string& Target);

} // namespace verdel
