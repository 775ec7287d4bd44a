#include "formats/dxf_writer.h"

#include <array>
#include <charconv>
#include <cmath>
#include <ostream>
#include <stdexcept>
#include <vector>

#include "engine/atomic_file.h"
#include "formats/object_mesh.h"

namespace verdel {

namespace {

// Lines are gathered in a buffer and handed to the stream in large pieces.
class TDXFOut {
public:
    explicit TDXFOut(std::ostream& out) : Out(out) { Buffer.reserve(Capacity + 4096); }
    ~TDXFOut() = default;

    void Line(std::string_view text)
    {
        Buffer.append(text);
        Buffer.append("\r\n", 2);
        if (Buffer.size() >= Capacity) Flush();
    }
    void Number(double value)
    {
        std::array<char, 400> text;
        Line(std::string_view(text.data(), AppendNumber(text.data(), text.data() + text.size(), value)));
    }
    void Integer(long long value)
    {
        std::array<char, 24> text;
        Line(std::string_view(text.data(),
                              std::to_chars(text.data(), text.data() + text.size(), value).ptr - text.data()));
    }
    // Group code and value lines, in pairs.
    void Pairs(std::initializer_list<std::string_view> lines)
    {
        for (std::string_view line : lines) Line(line);
    }
    void Flush()
    {
        Out.write(Buffer.data(), static_cast<std::streamsize>(Buffer.size()));
        Buffer.clear();
    }

    static size_t AppendNumber(char* first, char* last, double value)
    {
        if (value == 0) {
            *first = '0';
            return 1;
        }
        const int decimals = std::trunc(value) == value ? 0 : 10;
        return static_cast<size_t>(std::to_chars(first, last, value, std::chars_format::fixed, decimals).ptr - first);
    }

private:
    static constexpr size_t Capacity = 1 << 20;
    std::ostream& Out;
    std::string Buffer;
};

void WriteHeader(TDXFOut& out)
{
    out.Pairs({"999", "Verdel ", "999", "DXF File", "999", "Polyline Polyface Meshes"});
    out.Pairs({"0", "SECTION", "2", "TABLES", "0", "TABLE", "2", "LAYER", "70", "6"});
    for (int layer = 1; layer <= LayerCount; ++layer) {
        out.Pairs({"0", "LAYER", "2"});
        out.Integer(layer);
        out.Pairs({"70", "64", "62", "7", "6", "CONTINUOUS"});
    }
    out.Pairs({"0", "ENDTAB", "0", "ENDSEC", "0", "SECTION", "2", "ENTITIES"});
}

void WriteObject(TDXFOut& out, const TObjectMesh& mesh, int layer)
{
    std::array<char, 8> layerText;
    const std::string_view l(layerText.data(),
                             std::to_chars(layerText.data(), layerText.data() + layerText.size(), layer).ptr -
                                 layerText.data());
    out.Pairs({"0", "POLYLINE", "66", "1", "8", l, "62", l, "70", "64"});
    for (const TVector& v : mesh.Vertices) {
        out.Pairs({"0", "VERTEX", "8", l, "10"});
        out.Number(v.X);
        out.Line("20");
        out.Number(v.Y);
        out.Line("30");
        out.Number(v.Z);
        out.Pairs({"70", "192"});
    }
    for (const auto& face : mesh.Faces) {
        out.Pairs({"0", "VERTEX", "8", l, "10", "0", "20", "0", "30", "0", "70", "128", "71"});
        out.Integer(face[0]);
        out.Line("72");
        out.Integer(face[1]);
        out.Line("73");
        out.Integer(face[2]);
        out.Line("74");
        out.Integer(face[3]);
    }
    out.Pairs({"0", "SEQEND", "8", l});
}

} // namespace

std::string FormatDXFNumber(double Value)
{
    std::array<char, 400> text;
    return std::string(text.data(), TDXFOut::AppendNumber(text.data(), text.data() + text.size(), Value));
}

void WriteDXF(std::ostream& Out, const TFaceStore& Store)
{
    TDXFOut out(Out);
    WriteHeader(out);
    TObjectMesh mesh;
    for (int k = 1; k <= Store.ObjectCount; ++k) {
        const TFaceObject& object = Store.Object(k);
        CollectObjectMesh(object, k, mesh);
        WriteObject(out, mesh, object.ColorIndex);
    }
    out.Pairs({"0", "ENDSEC", "0", "EOF"});
    out.Flush();
}

void WriteDXFFile(const TFaceStore& Store, const std::string& FileName, const std::string& Kind)
{
    if (Kind != "dxf") return;
    TAtomicFile file(FileName);
    file.Write([&](std::ostream& out) {
        try {
            WriteDXF(out, Store);
        } catch (const std::runtime_error& error) {
            throw std::runtime_error(FileName + ": " + error.what());
        }
    });
    file.Commit();
}

} // namespace verdel
