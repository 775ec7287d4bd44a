#include "engine/module_string.h"

#include <charconv>
#include <cstddef>
#include <cstring>

namespace verdel {

namespace {

// The shortest text that reads back as exactly Value; at most 24 characters.
char* WriteNumber(char* out, double value) { return std::to_chars(out, out + 32, value).ptr; }

} // namespace

int TModuleString::NumberLength(double Value)
{
    char buffer[32];
    return static_cast<int>(WriteNumber(buffer, Value) - buffer);
}

void TModuleString::Clear()
{
    Entries.clear();
    Values.clear();
}

void TModuleString::Append(unsigned char Symbol, const double* Parameters, int Count)
{
    int length = 1;
    if (Count > 0) length += 1 + Count; // "(", the commas and ")"
    for (int k = 0; k < Count; ++k) length += NumberLength(Parameters[k]);
    Append(Symbol, Parameters, Count, length);
}

void TModuleString::Append(const TModuleString& Other, size_t First, size_t Last)
{
    if (First >= Last) return;
    const uint32_t from = Other.Entries[First].First;
    const uint32_t to = Last < Other.Entries.size() ? Other.Entries[Last].First : static_cast<uint32_t>(Other.Values.size());
    const auto shift = static_cast<uint32_t>(Values.size()) - from;
    const size_t at = Entries.size();
    Entries.insert(Entries.end(), Other.Entries.begin() + static_cast<std::ptrdiff_t>(First),
                   Other.Entries.begin() + static_cast<std::ptrdiff_t>(Last));
    if (from == to) {
        for (size_t i = at; i < Entries.size(); ++i) Entries[i].First = static_cast<uint32_t>(Values.size());
        return;
    }
    for (size_t i = at; i < Entries.size(); ++i) Entries[i].First += shift;
    Values.insert(Values.end(), Other.Values.begin() + from, Other.Values.begin() + to);
}

void TModuleString::Truncate(size_t Size)
{
    if (Size >= Entries.size()) return;
    Values.resize(Entries[Size].First);
    Entries.resize(Size);
}

bool operator==(const TModuleString& a, const TModuleString& b)
{
    if (a.Entries.size() != b.Entries.size() || a.Values.size() != b.Values.size()) return false;
    for (size_t i = 0; i < a.Entries.size(); ++i)
        if (a.Entries[i].Symbol != b.Entries[i].Symbol || a.Entries[i].Count != b.Entries[i].Count) return false;
    // Bit for bit: 0 and -0 write different texts.
    return a.Values.empty() || std::memcmp(a.Values.data(), b.Values.data(), a.Values.size() * sizeof(double)) == 0;
}

void TModuleString::Write(std::string& text, unsigned char InsertSymbol, const std::string& InsertText) const
{
    const bool inserting = !InsertText.empty();
    size_t length = 0;
    for (const TEntry& e : Entries) length += e.Length + (inserting && e.Symbol == InsertSymbol ? InsertText.size() : 0);
    // Room for the longest number after the last one, so each is written in place.
    text.resize(length + 32);
    char* out = text.data();
    for (const TEntry& e : Entries) {
        if (inserting && e.Symbol == InsertSymbol) out += InsertText.copy(out, InsertText.size());
        *out++ = static_cast<char>(e.Symbol);
        if (e.Count == 0) continue;
        const double* p = Values.data() + e.First;
        *out++ = '(';
        for (int k = 0; k < e.Count; ++k) {
            if (k > 0) *out++ = ',';
            out = WriteNumber(out, p[k]);
        }
        *out++ = ')';
    }
    text.resize(length);
}

} // namespace verdel
