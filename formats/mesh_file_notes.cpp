#include "formats/mesh_file_notes.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <sstream>
#include <stdexcept>

#include "engine/text_lines.h"

namespace verdel {

namespace {

constexpr std::string_view EndHeader = "end_header\n";

struct TPlyProperty {
    std::string Type;
    std::string Name;
};

// What RepairPlyColors needs of a header: the vertex record and the face count.
struct TPlyLayout {
    size_t BodyStart = 0;
    size_t VertexCount = 0;
    std::vector<TPlyProperty> VertexProperties;
    size_t FaceCount = 0;
    bool PlainFaces = true; // faces hold only "list uchar int" indices
};

TPlyLayout ReadPlyLayout(const std::string& ply)
{
    const size_t end = ply.find(EndHeader);
    if (end == std::string::npos) throw std::runtime_error("PLY output without end_header");
    TPlyLayout layout;
    layout.BodyStart = end + EndHeader.size();
    std::istringstream header(ply.substr(0, end));
    std::string line, element;
    while (std::getline(header, line)) {
        std::istringstream words(line);
        std::string word, type, name;
        words >> word;
        if (word == "element") {
            size_t count = 0;
            words >> element >> count;
            (element == "vertex" ? layout.VertexCount : layout.FaceCount) = count;
        } else if (word == "property" && element == "vertex") {
            words >> type >> name;
            layout.VertexProperties.push_back({type, name});
        } else if (word == "property" && element == "face") {
            std::string list, countType, indexType;
            words >> list >> countType >> indexType;
            layout.PlainFaces = layout.PlainFaces && list == "list" && countType == "uchar" &&
                                (indexType == "int" || indexType == "uint");
        }
    }
    return layout;
}

// Where the face records that begin at Start end, or npos when they run past the body.
size_t FacesEnd(const std::string& ply, size_t start, size_t faceCount)
{
    size_t at = start;
    for (size_t f = 0; f < faceCount; ++f) {
        if (at >= ply.size()) return std::string::npos;
        at += 1 + 4 * static_cast<unsigned char>(ply[at]);
    }
    return at;
}

bool IsByteColor(const TPlyProperty& property) { return property.Type == "uchar"; }

unsigned char ColorByte(const char* bytes)
{
    static_assert(std::endian::native == std::endian::little, "binary PLY files are little-endian");
    float value;
    std::memcpy(&value, bytes, sizeof value);
    return static_cast<unsigned char>(std::clamp(std::lround(value * 255.0f), 0L, 255L));
}

char Printable(char c) { return c >= 0x20 && c < 0x7F ? c : '?'; }

} // namespace

std::vector<std::string> NoteLines(const TExportInfo& Info)
{
    std::vector<std::string> lines{"Made by " + Info.ProgramName};
    if (Info.Seed) lines.push_back("Seed: " + std::to_string(*Info.Seed));
    if (!Info.Definition.empty()) {
        lines.push_back("Definition:");
        for (std::string& line : SplitLines(Info.Definition)) lines.push_back(std::move(line));
    }
    return lines;
}

void PrependHashComments(std::string& Text, const std::vector<std::string>& Lines)
{
    std::string comments;
    for (const std::string& line : Lines) comments += (line.empty() ? "#" : "# " + line) + "\n";
    Text.insert(0, comments);
}

void AddPlyComments(std::string& Ply, const std::vector<std::string>& Lines)
{
    const size_t format = Ply.find("\nformat ");
    const size_t end = Ply.find(EndHeader);
    if (format == std::string::npos || end == std::string::npos || format > end)
        throw std::runtime_error("PLY output without a format line");
    std::string comments;
    for (const std::string& line : Lines) {
        std::string text = line;
        std::transform(text.begin(), text.end(), text.begin(), Printable);
        comments += "comment " + text + "\n";
    }
    Ply.insert(Ply.find('\n', format + 1) + 1, comments);
}

void RepairPlyColors(std::string& Ply)
{
    const TPlyLayout layout = ReadPlyLayout(Ply);
    const auto& properties = layout.VertexProperties;
    if (std::none_of(properties.begin(), properties.end(), IsByteColor)) return;
    const bool known =
        layout.PlainFaces && std::all_of(properties.begin(), properties.end(),
                                         [](const TPlyProperty& p) { return p.Type == "float" || p.Type == "uchar"; });
    if (!known) throw std::runtime_error("PLY output with vertex properties of an unexpected kind");

    size_t declared = 0;
    for (const TPlyProperty& p : properties) declared += IsByteColor(p) ? 1 : 4;
    const size_t written = 4 * properties.size();
    if (FacesEnd(Ply, layout.BodyStart + layout.VertexCount * declared, layout.FaceCount) == Ply.size()) return;
    const size_t facesStart = layout.BodyStart + layout.VertexCount * written;
    if (FacesEnd(Ply, facesStart, layout.FaceCount) != Ply.size())
        throw std::runtime_error("PLY output whose body fits neither its header nor 4-byte colours");

    std::string repaired = Ply.substr(0, layout.BodyStart);
    repaired.reserve(Ply.size());
    for (size_t at = layout.BodyStart; at < facesStart;)
        for (const TPlyProperty& p : properties) {
            if (IsByteColor(p)) repaired += static_cast<char>(ColorByte(Ply.data() + at));
            else repaired.append(Ply, at, 4);
            at += 4;
        }
    repaired.append(Ply, facesStart, std::string::npos);
    Ply = std::move(repaired);
}

void SetStlHeader(std::string& Stl, const std::string& Text)
{
    if (Stl.size() < 80) throw std::runtime_error("STL output shorter than its header");
    std::string header = Text.substr(0, 80);
    header.resize(80, '\0');
    Stl.replace(0, 80, header);
}

} // namespace verdel
