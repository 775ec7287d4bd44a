#include "formats/mesh_checks.h"

#include <cstdint>

namespace verdel {

namespace {

uint32_t LittleEndian32(std::string_view bytes, size_t at)
{
    uint32_t value = 0; // most significant byte first
    for (size_t b = 4; b-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[at + b]);
    return value;
}

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

// OFF as the mesh library reads it: a keyword such as "OFF", "COFF" or
// "NOFF" (or none), the vertex, face and edge counts, then one line per
// vertex and one per face; blank lines do not count and the text ends at a NUL.
class TOffReader {
public:
    explicit TOffReader(std::string_view bytes) : Text(bytes.substr(0, bytes.find('\0'))) {}

    std::string Fault()
    {
        std::string_view word = Word();
        const size_t keyword = word.find("OFF");
        if (keyword != std::string_view::npos && keyword + 3 == word.size()) {
            if (word.substr(0, keyword).find('n') != std::string_view::npos) Word(); // the dimension
            word = Word();
        } else if (word.empty() || word[0] < '0' || word[0] > '9') {
            return "not an OFF file: it starts with neither \"OFF\" nor the vertex count";
        }
        const uint64_t vertices = Count(word), faces = Count(Word());
        Word(); // the edge count
        if (vertices > UINT32_MAX || faces > UINT32_MAX) return "the OFF header's counts are too large";
        const uint64_t lines = Lines(vertices + faces);
        if (lines < vertices) return EndsInsideList("vertex", lines, vertices);
        if (lines < vertices + faces) return EndsInsideList("face", lines - vertices, faces);
        return "";
    }

private:
    // The next word, passing over blanks, line ends and comment lines.
    std::string_view Word()
    {
        for (;;) {
            while (At < Text.size() && (Text[At] == ' ' || Text[At] == '\t' || IsLineEnd(Text[At]))) ++At;
            if (At >= Text.size() || Text[At] != '#') break;
            while (At < Text.size() && !IsLineEnd(Text[At])) ++At;
        }
        const size_t start = At;
        while (At < Text.size() && Text[At] != ' ' && Text[At] != '\t' && !IsLineEnd(Text[At]) && Text[At] != '#') ++At;
        return Text.substr(start, At - start);
    }

    static uint64_t Count(std::string_view word)
    {
        uint64_t value = 0;
        for (const char c : word) {
            if (c < '0' || c > '9' || value > UINT32_MAX) break;
            value = value * 10 + static_cast<uint64_t>(c - '0');
        }
        return value;
    }

    // The lines after the counts, at most Wanted of them.
    uint64_t Lines(uint64_t wanted)
    {
        while (At < Text.size() && (Text[At] == ' ' || Text[At] == '\t' || IsLineEnd(Text[At]))) ++At;
        uint64_t lines = 0;
        while (At < Text.size() && lines < wanted) {
            ++lines;
            while (At < Text.size() && !IsLineEnd(Text[At])) ++At;
            while (At < Text.size() && IsLineEnd(Text[At])) ++At;
        }
        return lines;
    }

    std::string_view Text;
    size_t At = 0;
};

// Binary STL: an 80-byte header, the triangle count, 50 bytes per triangle.
// A text file starts with "solid"; the mesh library takes a file for binary
// when its size matches the count in 32-bit arithmetic, so a count that only
// matches by wrapping around is refused too.
std::string StlFault(std::string_view bytes)
{
    const size_t start = bytes.find_first_not_of(" \t\r\n");
    const bool text = start != std::string_view::npos && bytes.substr(start).starts_with("solid");
    if (bytes.size() < 84) return text ? "" : "the file ends inside the STL header";
    const uint64_t triangles = LittleEndian32(bytes, 80);
    const uint64_t needed = 84 + 50 * triangles;
    const bool takenForBinary = static_cast<uint32_t>(needed) == bytes.size();
    if ((takenForBinary || !text) && needed > bytes.size())
        return EndsInsideList("triangle", (bytes.size() - 84) / 50, triangles);
    return "";
}

// GLB: a 12-byte header (magic, version, length) and chunks of a length, a
// type and the data; version 1 has a 20-byte header with the content length.
std::string GlbFault(std::string_view bytes)
{
    if (bytes.size() < 12 || !bytes.starts_with("glTF")) return "not a GLB file: it does not start with \"glTF\"";
    const uint32_t version = LittleEndian32(bytes, 4), length = LittleEndian32(bytes, 8);
    if (length > bytes.size())
        return "the file is shorter than its GLB header says (" + std::to_string(bytes.size()) + " of " +
               std::to_string(length) + " bytes)";
    if (version == 1) {
        if (length < 20 || LittleEndian32(bytes, 12) > length - 20) return "the GLB content runs past the file's end";
        return "";
    }
    if (version != 2) return "GLB version " + std::to_string(version) + " is not one Verdel reads";
    for (uint64_t at = 12; at < length;) {
        if (length - at < 8) return "the file ends inside a GLB chunk header";
        const uint64_t chunk = LittleEndian32(bytes, static_cast<size_t>(at));
        if (chunk > length - at - 8)
            return "a GLB chunk of " + std::to_string(chunk) + " bytes runs past the file's end";
        at += 8 + chunk;
    }
    return "";
}

} // namespace

std::string MeshFileFault(std::string_view Bytes, std::string_view Extension)
{
    if (Bytes.empty()) return "the file is empty";
    if (Extension == "ply") return PlyFault(Bytes);
    if (Extension == "off") return TOffReader(Bytes).Fault();
    if (Extension == "stl") return StlFault(Bytes);
    if (Extension == "glb") return GlbFault(Bytes);
    return "";
}

} // namespace verdel
