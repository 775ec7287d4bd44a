// The string an extended definition is rewritten in: one entry per module
// (a symbol and a slice of a parameter array), written out as the production
// string the turtle reads.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace verdel {

class TModuleString {
public:
    size_t Size() const { return Symbols.size(); }
    unsigned char Symbol(size_t i) const { return Symbols[i]; }
    int Count(size_t i) const { return Counts[i]; }
    const double* Parameters(size_t i) const { return Values.data() + First[i]; }
    // Characters module i writes: its symbol and "(a,b)".
    int64_t TextLength(size_t i) const { return Lengths[i]; }

    void Clear();
    // Appends a module; its text length is worked out from the shortest text of each parameter.
    void Append(unsigned char Symbol, const double* Parameters, int Count);
    // Appends module i of Other as it is.
    void Append(const TModuleString& Other, size_t i);
    // Drops the modules from Size onwards.
    void Truncate(size_t Size);

    // For each "[" the index of its "]" and the other way round; -1 when unmatched.
    std::vector<int32_t> BracketPartners() const;

    // The production string of the first Count modules: each symbol, then
    // "(a,b)" with the shortest text of each parameter; InsertText before
    // every module whose symbol is InsertSymbol (when InsertText is not empty).
    std::string Text(size_t Count, unsigned char InsertSymbol, const std::string& InsertText) const;

    friend bool operator==(const TModuleString& a, const TModuleString& b)
    {
        return a.Symbols == b.Symbols && a.Counts == b.Counts && a.Values == b.Values;
    }

private:
    std::vector<unsigned char> Symbols;
    std::vector<uint8_t> Counts;
    std::vector<uint32_t> First;
    std::vector<uint16_t> Lengths;
    std::vector<double> Values;
};

} // namespace verdel
