// The PLY check: the header read line by line, then the body walked element
// by element (tokens for ASCII, bytes for binary), so that a header claiming
// more than the file holds is refused before the mesh library allocates for it.
#include <charconv>
#include <cstdint>
#include <optional>
#include <vector>

#include "formats/mesh_checks.h"

namespace verdel {

namespace {

// A PLY header ends within this many bytes; the rest of the file is its body.
constexpr size_t MaxPlyHeader = 1 << 20;

struct TPlyType {
    std::string_view Name;
    int Size;
    bool Integer, Signed;
};

constexpr TPlyType PlyTypes[] = {
    {"char", 1, true, true},     {"int8", 1, true, true},      {"uchar", 1, true, false},   {"uint8", 1, true, false},
    {"short", 2, true, true},    {"int16", 2, true, true},     {"ushort", 2, true, false},  {"uint16", 2, true, false},
    {"int", 4, true, true},      {"int32", 4, true, true},     {"uint", 4, true, false},    {"uint32", 4, true, false},
    {"float", 4, false, true},   {"float32", 4, false, true},  {"double", 8, false, true},  {"float64", 8, false, true},
};

const TPlyType* FindType(std::string_view name)
{
    for (const TPlyType& type : PlyTypes)
        if (type.Name == name) return &type;
    return nullptr;
}

// A property: a scalar of Item, or a list of Item whose length is a Count.
struct TPlyProperty {
    const TPlyType* Item = nullptr;
    const TPlyType* Count = nullptr;
};

struct TPlyElement {
    std::string Name;
    uint64_t Count = 0;
    std::vector<TPlyProperty> Properties;
};

enum class TPlyFormat { Ascii, LittleEndian, BigEndian };

struct TPlyHeader {
    std::optional<TPlyFormat> Format;
    std::vector<TPlyElement> Elements;
    size_t BodyStart = 0;
};

// The line of Text that starts at At, without its line end; At moves past it.
std::string_view NextLine(std::string_view text, size_t& at)
{
    const size_t end = text.find('\n', at);
    std::string_view line = text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
    at = end == std::string_view::npos ? text.size() : end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::vector<std::string_view> Words(std::string_view line)
{
    std::vector<std::string_view> words;
    size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && IsSpace(line[at])) ++at;
        const size_t start = at;
        while (at < line.size() && !IsSpace(line[at])) ++at;
        if (at > start) words.push_back(line.substr(start, at - start));
    }
    return words;
}

std::optional<uint64_t> WholeNumber(std::string_view text)
{
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// A word of the header quoted in a message, cut short if long.
std::string Quoted(std::string_view word)
{
    std::string quoted(1, '"');
    quoted.append(word.substr(0, 24)).push_back('"');
    return quoted;
}

// Reads one header line into Header; returns a fault or "".
std::string ReadHeaderLine(const std::vector<std::string_view>& words, TPlyHeader& header)
{
    const std::string_view key = words[0];
    if (key == "comment" || key == "obj_info") return "";
    if (key == "format") {
        const std::string_view kind = words.size() > 1 ? words[1] : "";
        if (kind == "ascii") header.Format = TPlyFormat::Ascii;
        else if (kind == "binary_little_endian") header.Format = TPlyFormat::LittleEndian;
        else if (kind == "binary_big_endian") header.Format = TPlyFormat::BigEndian;
        else return "unknown PLY format " + Quoted(kind);
        return "";
    }
    if (key == "element") {
        const std::optional<uint64_t> count = words.size() == 3 ? WholeNumber(words[2]) : std::nullopt;
        if (!count) return "a PLY element line without its count";
        if (*count > UINT32_MAX) return "the header claims more than 4294967295 " + std::string(words[1]) + " elements";
        header.Elements.push_back({std::string(words[1]), *count, {}});
        return "";
    }
    if (key == "property") {
        if (header.Elements.empty()) return "a PLY property before the first element";
        TPlyProperty property;
        if (words.size() == 5 && words[1] == "list") property.Count = FindType(words[2]), property.Item = FindType(words[3]);
        else if (words.size() == 3) property.Item = FindType(words[1]);
        if (!property.Item || (words.size() == 5 && (!property.Count || !property.Count->Integer)))
            return "a PLY property of unknown type";
        header.Elements.back().Properties.push_back(property);
        return "";
    }
    return "a PLY header line Verdel does not know, starting " + Quoted(key);
}

std::string ReadHeader(std::string_view bytes, TPlyHeader& header)
{
    const std::string_view head = bytes.substr(0, MaxPlyHeader);
    size_t at = 0;
    if (Words(NextLine(head, at)) != std::vector<std::string_view>{"ply"})
        return "not a PLY file: its first line is not \"ply\"";
    while (at < head.size()) {
        const std::vector<std::string_view> words = Words(NextLine(head, at));
        if (words.empty()) continue;
        if (words[0] == "end_header") {
            if (!header.Format) return "a PLY header without its format line";
            header.BodyStart = at;
            return "";
        }
        if (std::string fault = ReadHeaderLine(words, header); !fault.empty()) return fault;
    }
    return "a PLY header without its end_header line";
}

// The body of an ASCII file, one whitespace-separated token after the other.
class TTokens {
public:
    explicit TTokens(std::string_view text) : Text(text.substr(0, text.find('\0'))) {}

    bool Next(std::string_view& token)
    {
        while (At < Text.size() && IsSpace(Text[At])) ++At;
        const size_t start = At;
        while (At < Text.size() && !IsSpace(Text[At])) ++At;
        token = Text.substr(start, At - start);
        return At > start;
    }

private:
    std::string_view Text;
    size_t At = 0;
};

// Walks one element's instances through the ASCII body; a fault or "".
std::string WalkAscii(const TPlyElement& element, TTokens& tokens)
{
    if (element.Properties.empty()) return "";
    std::string_view token;
    for (uint64_t i = 0; i < element.Count; ++i)
        for (const TPlyProperty& property : element.Properties) {
            if (!tokens.Next(token)) return EndsInsideList(element.Name, i, element.Count);
            if (!property.Count) continue;
            const std::optional<uint64_t> length = WholeNumber(token);
            if (!length) return "a list length in the " + element.Name + " list is not a whole number";
            for (uint64_t k = 0; k < *length; ++k)
                if (!tokens.Next(token)) return EndsInsideList(element.Name, i, element.Count);
        }
    return "";
}

// A list's length read from the binary body: nullopt for a negative one.
std::optional<uint64_t> ReadLength(const unsigned char* at, const TPlyType& type, bool bigEndian)
{
    uint64_t value = 0; // most significant byte first
    for (int b = 0; b < type.Size; ++b) value = value << 8 | at[bigEndian ? b : type.Size - 1 - b];
    if (type.Signed && (value >> (8 * type.Size - 1)) != 0) return std::nullopt;
    return value;
}

// Walks one element's instances through the binary body from At; a fault or "".
std::string WalkBinary(const TPlyElement& element, std::string_view body, size_t& at, bool bigEndian)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(body.data());
    bool lists = false;
    uint64_t rowSize = 0;
    for (const TPlyProperty& property : element.Properties) {
        lists = lists || property.Count;
        rowSize += static_cast<uint64_t>(property.Item->Size);
    }
    if (!lists) {
        const uint64_t rows = rowSize == 0 ? element.Count : (body.size() - at) / rowSize;
        if (rows < element.Count) return EndsInsideList(element.Name, rows, element.Count);
        at += static_cast<size_t>(element.Count * rowSize);
        return "";
    }
    for (uint64_t i = 0; i < element.Count; ++i)
        for (const TPlyProperty& property : element.Properties) {
            const uint64_t left = body.size() - at;
            if (!property.Count) {
                if (left < static_cast<uint64_t>(property.Item->Size)) return EndsInsideList(element.Name, i, element.Count);
                at += static_cast<size_t>(property.Item->Size);
                continue;
            }
            if (left < static_cast<uint64_t>(property.Count->Size)) return EndsInsideList(element.Name, i, element.Count);
            const std::optional<uint64_t> length = ReadLength(bytes + at, *property.Count, bigEndian);
            if (!length) return "a list length in the " + element.Name + " list is negative";
            at += static_cast<size_t>(property.Count->Size);
            if (*length > (left - property.Count->Size) / static_cast<uint64_t>(property.Item->Size))
                return EndsInsideList(element.Name, i, element.Count);
            at += static_cast<size_t>(*length * property.Item->Size);
        }
    return "";
}

} // namespace

std::string EndsInsideList(std::string_view Element, unsigned long long Held, unsigned long long Claimed)
{
    return "the file ends inside a " + std::string(Element) + " list (it holds " + std::to_string(Held) + " of the " +
           std::to_string(Claimed) + " its header claims)";
}

std::string PlyFault(std::string_view Bytes)
{
    TPlyHeader header;
    if (std::string fault = ReadHeader(Bytes, header); !fault.empty()) return fault;
    const std::string_view body = Bytes.substr(header.BodyStart);
    TTokens tokens(body);
    size_t at = 0;
    for (const TPlyElement& element : header.Elements) {
        const std::string fault = header.Format == TPlyFormat::Ascii
                                      ? WalkAscii(element, tokens)
                                      : WalkBinary(element, body, at, header.Format == TPlyFormat::BigEndian);
        if (!fault.empty()) return fault;
    }
    return "";
}

} // namespace verdel
