#include "engine/module_string.h"

#include <charconv>

namespace verdel {

namespace {

// The shortest text that reads back as exactly Value; at most 24 characters.
char* WriteNumber(char* out, double value) { return std::to_chars(out, out + 32, value).ptr; }

int NumberLength(double value)
{
    char buffer[32];
    return static_cast<int>(WriteNumber(buffer, value) - buffer);
}

} // namespace

void TModuleString::Clear()
{
    Symbols.clear();
    Counts.clear();
    First.clear();
    Lengths.clear();
    Values.clear();
}

void TModuleString::Append(unsigned char Symbol, const double* Parameters, int Count)
{
    int length = 1;
    if (Count > 0) length += 1 + Count; // "(", the commas and ")"
    for (int k = 0; k < Count; ++k) length += NumberLength(Parameters[k]);
    Symbols.push_back(Symbol);
    Counts.push_back(static_cast<uint8_t>(Count));
    First.push_back(static_cast<uint32_t>(Values.size()));
    Lengths.push_back(static_cast<uint16_t>(length));
    Values.insert(Values.end(), Parameters, Parameters + Count);
}

void TModuleString::Append(const TModuleString& Other, size_t i)
{
    Symbols.push_back(Other.Symbols[i]);
    Counts.push_back(Other.Counts[i]);
    First.push_back(static_cast<uint32_t>(Values.size()));
    Lengths.push_back(Other.Lengths[i]);
    const double* p = Other.Parameters(i);
    Values.insert(Values.end(), p, p + Other.Counts[i]);
}

void TModuleString::Truncate(size_t Size)
{
    if (Size >= Symbols.size()) return;
    Values.resize(First[Size]);
    Symbols.resize(Size);
    Counts.resize(Size);
    First.resize(Size);
    Lengths.resize(Size);
}

std::vector<int32_t> TModuleString::BracketPartners() const
{
    std::vector<int32_t> partner(Symbols.size(), -1);
    std::vector<int32_t> open;
    for (size_t i = 0; i < Symbols.size(); ++i) {
        if (Symbols[i] == '[') open.push_back(static_cast<int32_t>(i));
        if (Symbols[i] != ']' || open.empty()) continue;
        partner[i] = open.back();
        partner[static_cast<size_t>(open.back())] = static_cast<int32_t>(i);
        open.pop_back();
    }
    return partner;
}

std::string TModuleString::Text(size_t Count, unsigned char InsertSymbol, const std::string& InsertText) const
{
    const bool inserting = !InsertText.empty();
    size_t length = 0;
    for (size_t i = 0; i < Count; ++i)
        length += Lengths[i] + (inserting && Symbols[i] == InsertSymbol ? InsertText.size() : 0);
    // Room for the longest number after the last one, so each is written in place.
    std::string text(length + 32, '\0');
    char* out = text.data();
    for (size_t i = 0; i < Count; ++i) {
        if (inserting && Symbols[i] == InsertSymbol) out = InsertText.copy(out, InsertText.size()) + out;
        *out++ = static_cast<char>(Symbols[i]);
        if (Counts[i] == 0) continue;
        const double* p = Parameters(i);
        *out++ = '(';
        for (int k = 0; k < Counts[i]; ++k) {
            if (k > 0) *out++ = ',';
            out = WriteNumber(out, p[k]);
        }
        *out++ = ')';
    }
    text.resize(length);
    return text;
}

} // namespace verdel
