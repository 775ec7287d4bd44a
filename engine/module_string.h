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
    size_t Size() const { return Entries.size(); }
    // The parameters of all modules together.
    size_t ParameterCount() const { return Values.size(); }
    unsigned char Symbol(size_t i) const { return Entries[i].Symbol; }
    int Count(size_t i) const { return Entries[i].Count; }
    const double* Parameters(size_t i) const { return Values.data() + Entries[i].First; }
    // Characters module i writes: its symbol and "(a,b)".
    int TextLength(size_t i) const { return Entries[i].Length; }

    void Clear();
    // Makes room for Modules modules without moving them again.
    void Reserve(size_t Modules) { Entries.reserve(Modules); }
    // Appends a module; its text length is worked out from the shortest text of each parameter.
    void Append(unsigned char Symbol, const double* Parameters, int Count);
    // Appends a module whose text length is known.
    void Append(unsigned char Symbol, const double* Parameters, int Count, int TextLength)
    {
        Entries.push_back({static_cast<uint32_t>(Values.size()), static_cast<uint16_t>(TextLength),
                           static_cast<uint8_t>(Count), Symbol});
        if (Count > 0) Values.insert(Values.end(), Parameters, Parameters + Count);
    }
    // Appends modules First to Last (excluded) of Other as they are.
    void Append(const TModuleString& Other, size_t First, size_t Last);
    // Appends all of Other.
    void Append(const TModuleString& Other) { Append(Other, 0, Other.Size()); }
    // Drops the modules from Size onwards.
    void Truncate(size_t Size);

    // The production string: each symbol, then "(a,b)" with the shortest
    // text of each parameter; InsertText before every module whose symbol is
    // InsertSymbol (when InsertText is not empty).
    // Text's storage is reused.
    void Write(std::string& Text, unsigned char InsertSymbol, const std::string& InsertText) const;

    // Whether both write the same production text: the same modules, their parameters bit for bit.
    friend bool operator==(const TModuleString& a, const TModuleString& b);

    // The characters of the shortest text that reads back as exactly Value.
    static int NumberLength(double Value);

private:
    struct TEntry {
        uint32_t First;  // index of the first parameter in Values
        uint16_t Length; // characters written
        uint8_t Count;   // parameters
        unsigned char Symbol;
    };
    std::vector<TEntry> Entries;
    std::vector<double> Values;
};

} // namespace verdel
