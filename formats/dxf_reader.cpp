#include "formats/dxf_reader.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <istream>
#include <limits>
#include <vector>

namespace verdel {

namespace {

constexpr int MaxRecords = 65535; // vertex records, and face records, of one polyline

// Hands out the lines of a stream one at a time, without their CR LF or LF,
// reading the stream in large blocks.
class TLineReader {
public:
    TLineReader(std::istream& in, const std::string& name) : In(in), Name(name) { Buffer.resize(BlockSize); }

    // The next line; throws EDXFError naming What when the file ends.
    std::string_view Next(const char* what)
    {
        std::string_view line;
        if (!TryNext(line)) Fail("file ends " + std::string(what));
        return line;
    }

    // Skips Count lines, then returns the next one.
    std::string_view Skip(int count, const char* what)
    {
        for (int i = 0; i < count; ++i) Next(what);
        return Next(what);
    }

    bool TryNext(std::string_view& line)
    {
        for (;;) {
            const char* start = Buffer.data() + Begin;
            const void* newline = std::memchr(start, '\n', End - Begin);
            if (newline) {
                const size_t length = static_cast<const char*>(newline) - start;
                Begin += length + 1;
                ++LineNumber;
                line = std::string_view(start, length);
                if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
                return true;
            }
            if (Eof) {
                if (Begin == End) return false;
                line = std::string_view(start, End - Begin); // a last line without its line end
                Begin = End;
                ++LineNumber;
                if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
                return true;
            }
            Refill();
        }
    }

    [[noreturn]] void Fail(const std::string& reason, long long line = -1) const
    {
        throw EDXFError(Name + ", line " + std::to_string(line < 0 ? LineNumber : line) + ": " + reason);
    }

    long long Line() const { return LineNumber; }

private:
    static constexpr size_t BlockSize = 1 << 20;

    void Refill()
    {
        // Keep the unfinished line, growing the buffer when one line fills it.
        const size_t rest = End - Begin;
        std::memmove(Buffer.data(), Buffer.data() + Begin, rest);
        Begin = 0;
        End = rest;
        if (End == Buffer.size()) Buffer.resize(Buffer.size() * 2);
        In.read(Buffer.data() + End, static_cast<std::streamsize>(Buffer.size() - End));
        End += static_cast<size_t>(In.gcount());
        if (In.bad()) throw std::runtime_error(Name + ": read error");
        if (In.eof() || In.gcount() == 0) Eof = true;
    }

    std::istream& In;
    const std::string& Name;
    std::string Buffer;
    size_t Begin = 0, End = 0;
    bool Eof = false;
    long long LineNumber = 0;
};

// Lenient numbers: blanks before the number are skipped, a sign is accepted,
// the longest number at the start is taken and anything after it ignored;
// a line without a number reads as 0.
std::string_view NumberText(std::string_view line)
{
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    if (!line.empty() && line.front() == '+') line.remove_prefix(1);
    return line;
}

// A line's text for a message, cut short when it is long.
std::string Quoted(std::string_view line)
{
    constexpr size_t shown = 40;
    // Built by appending: GCC 12 warns wrongly (-Wrestrict) about "literal" + std::string here.
    std::string quoted = "\"";
    quoted.append(line.substr(0, shown));
    quoted.append(line.size() > shown ? "...\"" : "\"");
    return quoted;
}

// A coordinate as a Single. A number that is not finite ("nan", "inf") or
// lies outside the Single range ("1e300", "1e999") rejects the file; one too
// small for a double ("1e-999") reads as 0.
float ParseCoordinate(TLineReader& reader, std::string_view line)
{
    const std::string_view text = NumberText(line);
    const char* last = text.data() + text.size();
    double value = 0;
    if (std::from_chars(text.data(), last, value).ec == std::errc::result_out_of_range) {
        long double wide = 0;
        const bool read = std::from_chars(text.data(), last, wide).ec == std::errc();
        if (!read || std::fabs(wide) >= std::numeric_limits<float>::min())
            reader.Fail("coordinate " + Quoted(line) + " outside the range of single precision");
        return static_cast<float>(wide);
    }
    if (!std::isfinite(value)) reader.Fail("coordinate " + Quoted(line) + " is not a finite number");
    if (std::fabs(value) > std::numeric_limits<float>::max())
        reader.Fail("coordinate " + Quoted(line) + " outside the range of single precision");
    return static_cast<float>(value);
}

long long ParseInteger(std::string_view line)
{
    const std::string_view text = NumberText(line);
    long long value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

struct TFaceRecord {
    std::array<long long, 4> Corners;
    long long Line; // where its first corner index stands, for messages
};

// One polyline's working tables.
struct TPolyline {
    int Layer = 0;
    long long LayerLine = 0;
    std::vector<TVector> Vertices;
    std::vector<TFaceRecord> Faces;
};

// Reads the record after a "VERTEX" line; returns the last line it read.
std::string_view ReadVertexRecord(TLineReader& reader, TPolyline& polyline)
{
    const char* inside = "inside a polyline";
    const float x = ParseCoordinate(reader, reader.Skip(3, inside));
    const float y = ParseCoordinate(reader, reader.Skip(1, inside));
    const float z = ParseCoordinate(reader, reader.Skip(1, inside));
    const std::string_view kind = reader.Skip(1, inside);
    if (kind == "192") {
        if (polyline.Vertices.size() == MaxRecords) reader.Fail("more than 65535 vertex records in one polyline");
        polyline.Vertices.push_back({x, y, z});
        return kind;
    }
    if (kind == "128") {
        if (polyline.Vertices.empty()) reader.Fail("face record before any vertex record");
        if (polyline.Faces.size() == MaxRecords) reader.Fail("more than 65535 face records in one polyline");
        TFaceRecord face{};
        std::string_view line;
        for (int i = 0; i < 4; ++i) {
            line = reader.Skip(1, inside);
            face.Corners[i] = ParseInteger(line);
            if (i == 0) face.Line = reader.Line();
        }
        polyline.Faces.push_back(face);
        return line;
    }
    return kind;
}

// Adds a finished polyline as the store's next object; one without faces is skipped.
void AddObject(TLineReader& reader, TFaceStore& store, const TPolyline& polyline)
{
    if (polyline.Faces.empty()) return;
    const long long vertexCount = static_cast<long long>(polyline.Vertices.size());
    for (const TFaceRecord& face : polyline.Faces)
        for (long long index : face.Corners)
            if (index < 1 || index > vertexCount)
                reader.Fail("corner index " + std::to_string(index) + " outside 1.." + std::to_string(vertexCount),
                            face.Line);
    if (store.ObjectCount == MaxObjects) reader.Fail("more than " + std::to_string(MaxObjects) + " objects");

    TFaceObject& object = store.Object(++store.ObjectCount);
    object.FaceCount = static_cast<int32_t>(polyline.Faces.size());
    object.VertexCount = static_cast<int32_t>(vertexCount);
    object.ColorIndex = static_cast<uint8_t>(polyline.Layer);
    object.Color = LayerColors[polyline.Layer];
    store.LayerUsed[polyline.Layer] = true;

    TFaceAppender faces(store, object);
    for (const TFaceRecord& face : polyline.Faces) {
        TVector corners[4];
        int32_t index[4];
        for (int i = 0; i < 4; ++i) {
            index[i] = static_cast<int32_t>(face.Corners[i]);
            corners[i] = polyline.Vertices[static_cast<size_t>(index[i] - 1)];
        }
        faces.Add(corners, index);
    }
}

void ReadPolyline(TLineReader& reader, TFaceStore& store, TPolyline& polyline)
{
    const char* inside = "inside a polyline";
    const long long layer = ParseInteger(reader.Skip(3, inside));
    if (layer < 1 || layer > LayerCount) reader.Fail("layer " + std::to_string(layer) + " outside 1..12");
    polyline.Layer = static_cast<int>(layer);
    polyline.Vertices.clear();
    polyline.Faces.clear();
    // The polyline ends at the first "SEQEND" line, also one met as the last line of a record.
    for (bool ended = false; !ended;) {
        std::string_view line = reader.Next(inside);
        if (line == "VERTEX") line = ReadVertexRecord(reader, polyline);
        ended = line == "SEQEND";
    }
    AddObject(reader, store, polyline);
}

void ReadEntities(TLineReader& reader, TFaceStore& store)
{
    std::string_view line;
    do {
        if (!reader.TryNext(line)) reader.Fail("file ends before \"ENTITIES\"");
    } while (line != "ENTITIES");

    TPolyline polyline;
    do {
        line = reader.Next("before \"ENDSEC\"");
        if (line == "POLYLINE") ReadPolyline(reader, store, polyline);
    } while (line != "ENDSEC");
}

} // namespace

void ReadDXF(std::istream& In, TFaceStore& Store, const std::string& Name)
{
    FreeScene(Store);
    Store.LayerUsed.fill(false);
    TLineReader reader(In, Name);
    try {
        ReadEntities(reader, Store);
    } catch (...) {
        // A rejected file leaves the store empty, never half-filled.
        FreeScene(Store);
        Store.LayerUsed.fill(false);
        throw;
    }
    ComputeBounds(Store);
}

void ReadDXFFile(TFaceStore& Store, const std::string& FileName)
{
    std::ifstream file(FileName, std::ios::binary);
    // A folder opens as a file on some systems and fails only when read.
    const int error = !file ? errno : std::filesystem::is_directory(FileName) ? EISDIR : 0;
    if (error != 0) {
        FreeScene(Store);
        Store.LayerUsed.fill(false);
        throw std::runtime_error(FileName + ": " + std::strerror(error));
    }
    const size_t slash = FileName.find_last_of('/');
    ReadDXF(file, Store, slash == std::string::npos ? FileName : FileName.substr(slash + 1));
}

} // namespace verdel
