#include <gtest/gtest.h>

#include <cstring>

#include "formats/gltf_json.h"
#include "formats/mesh_file_notes.h"

using namespace verdel;

namespace {

const std::string PlyHeader = "ply\nformat binary_little_endian 1.0\ncomment Created by a library\n"
                              "element vertex 2\nproperty float x\nproperty float y\nproperty float z\n"
                              "property uchar red\nproperty uchar green\nproperty uchar blue\nproperty uchar alpha\n"
                              "element face 1\nproperty list uchar int vertex_index\nend_header\n";

template <typename T> std::string Bytes(std::initializer_list<T> values)
{
    std::string bytes;
    for (T value : values) bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
    return bytes;
}

// Two vertices with the colour (0, 128, 0, 255) and one face (0, 1, 1),
// the colours written as 4-byte floats or as the declared bytes.
std::string PlyBody(bool floatColors)
{
    const std::string color =
        floatColors ? Bytes<float>({0.0f, 128 / 255.0f, 0.0f, 1.0f}) : std::string("\x00\x80\x00\xFF", 4);
    return Bytes<float>({1, 2, 3}) + color + Bytes<float>({4, 5, 6}) + color + "\x03" + Bytes<int32_t>({0, 1, 1});
}

std::string Glb(const std::string& json, const std::string& bin)
{
    std::string glb = "glTF" + Bytes<uint32_t>({2, static_cast<uint32_t>(20 + json.size() + 8 + bin.size())});
    glb += Bytes<uint32_t>({static_cast<uint32_t>(json.size())}) + "JSON" + json;
    return glb + Bytes<uint32_t>({static_cast<uint32_t>(bin.size())}) + std::string("BIN\0", 4) + bin;
}

uint32_t WordAt(const std::string& bytes, size_t at)
{
    uint32_t value;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

} // namespace

TEST(NoteLines, ProgramThenSeedThenTheDefinitionLines)
{
    TExportInfo info;
    EXPECT_EQ(NoteLines(info), (std::vector<std::string>{"Made by Verdel"}));
    info.Seed = 0;
    info.Definition = "2\r\n90\r\n\r\nF\r\n@\r\n";
    EXPECT_EQ(NoteLines(info),
              (std::vector<std::string>{"Made by Verdel", "Seed: 0", "Definition:", "2", "90", "", "F", "@"}));
}

TEST(HashComments, EveryLineBecomesAComment)
{
    std::string text = "v 1 2 3\n";
    PrependHashComments(text, {"Made by Verdel", "", "F=F[+F]"});
    EXPECT_EQ(text, "# Made by Verdel\n#\n# F=F[+F]\nv 1 2 3\n");
}

TEST(PlyComments, GoAfterTheFormatLineWithUnprintableCharactersReplaced)
{
    std::string ply = PlyHeader;
    AddPlyComments(ply, {"Made by Verdel", "tab\there", "caf\xE9"});
    const std::string start = "ply\nformat binary_little_endian 1.0\ncomment Made by Verdel\ncomment tab?here\n"
                              "comment caf?\ncomment Created by a library\nelement vertex 2\n";
    EXPECT_EQ(ply.substr(0, start.size()), start);
    std::string noFormat = "ply\nend_header\n";
    EXPECT_THROW(AddPlyComments(noFormat, {"x"}), std::runtime_error);
}

TEST(PlyColors, FourByteColoursBecomeTheDeclaredBytes)
{
    std::string ply = PlyHeader + PlyBody(true);
    RepairPlyColors(ply);
    EXPECT_EQ(ply, PlyHeader + PlyBody(false));

    SCOPED_TRACE("a file written as declared stays as it is");
    std::string correct = PlyHeader + PlyBody(false);
    RepairPlyColors(correct);
    EXPECT_EQ(correct, PlyHeader + PlyBody(false));
}

TEST(PlyColors, ABodyThatFitsNeitherLayoutIsAnError)
{
    std::string truncated = PlyHeader + PlyBody(true).substr(0, 30);
    EXPECT_THROW(RepairPlyColors(truncated), std::runtime_error);
    std::string noHeaderEnd = "ply\nformat binary_little_endian 1.0\n";
    EXPECT_THROW(RepairPlyColors(noHeaderEnd), std::runtime_error);
}

TEST(StlHeader, IsCutOrPaddedToEightyBytes)
{
    std::string stl = std::string(80, 'x') + Bytes<uint32_t>({0});
    SetStlHeader(stl, "Made by Verdel, seed 7");
    EXPECT_EQ(stl.size(), 84u);
    EXPECT_EQ(stl.substr(0, 23), std::string("Made by Verdel, seed 7\0", 23));
    EXPECT_EQ(stl.substr(22, 58), std::string(58, '\0'));
    SetStlHeader(stl, std::string(100, 'a'));
    EXPECT_EQ(stl.substr(0, 80), std::string(80, 'a'));
    EXPECT_EQ(WordAt(stl, 80), 0u);
}

TEST(JsonString, EscapesControlsAndKeepsTheResultUtf8)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"F=F[+F]", "\"F=F[+F]\""},
        {"say \"hi\"\\", "\"say \\\"hi\\\"\\\\\""},
        {"2\r\n90\t\x01", "\"2\\r\\n90\\t\\u0001\""},
        {"caf\xC3\xA9", "\"caf\xC3\xA9\""},   // UTF-8 passes
        {"caf\xE9", "\"caf\xC3\xA9\""},       // Latin-1 becomes UTF-8
        {"\xE2\x82", "\"\xC3\xA2\xC2\x82\""}, // a cut sequence is Latin-1 too
    };
    for (const auto& [text, json] : cases) {
        SCOPED_TRACE(json);
        EXPECT_EQ(JsonString(text), json);
    }
}

TEST(GltfAsset, TheGeneratorIsReplacedAndTheExtrasFollowIt)
{
    std::string json = R"({ "asset": { "version": "2.0", "generator": "Some \"library\"" }, "scene": 0 })";
    SetGltfAsset(json, "Verdel", "1\n@\n", 42);
    EXPECT_EQ(json,
              R"({ "asset": { "version": "2.0", "generator": "Verdel","extras":{"definition":"1\n@\n","seed":42} },)"
              R"( "scene": 0 })");

    std::string bare = R"({"scene":0,"asset":{"version":"2.0"}})";
    SetGltfAsset(bare, "Verdel", "", std::nullopt);
    EXPECT_EQ(bare, R"({"scene":0,"asset":{"generator":"Verdel","version":"2.0"}})");

    std::string empty = R"({"asset":{}})";
    SetGltfAsset(empty, "Verdel", "", 3);
    EXPECT_EQ(empty, R"({"asset":{"generator":"Verdel","extras":{"seed":3}}})");

    std::string noAsset = R"({"scene":0})";
    EXPECT_THROW(SetGltfAsset(noAsset, "Verdel", "", std::nullopt), std::runtime_error);
    std::string broken = R"({"asset":{"generator":"unterminated})";
    EXPECT_THROW(SetGltfAsset(broken, "Verdel", "", std::nullopt), std::runtime_error);
}

TEST(GltfMembers, RemovingAMemberKeepsTheObjectValid)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {R"({"buffers":[{"byteLength":0}],"scene":0})", R"({"scene":0})"},
        {R"({"a":1, "buffers" : [ ], "scene":0})", R"({"a":1, "scene":0})"},
        {R"({"a":"]}", "buffers":[]})", R"({"a":"]}"})"},
        {R"({"buffers":[]})", R"({})"},
        {R"({"a":{"buffers":[]}})", R"({"a":{"buffers":[]}})"}, // only the top level
    };
    for (auto [json, expected] : cases) {
        SCOPED_TRACE(json);
        RemoveTopLevelMember(json, "buffers");
        EXPECT_EQ(json, expected);
    }
}

TEST(GlbJson, ReplacingTheJsonChunkPadsItAndMendsTheLengths)
{
    const std::string bin("\x01\x02\x03\x04", 4);
    std::string glb = Glb(R"({"asset":{}})", bin);
    EXPECT_EQ(GlbJson(glb), R"({"asset":{}})");
    SetGlbJson(glb, R"({"asset":{"generator":"V"}})");
    EXPECT_EQ(GlbJson(glb), R"({"asset":{"generator":"V"}} )"); // 27 bytes padded to 28
    EXPECT_EQ(WordAt(glb, 8), glb.size());
    EXPECT_EQ(glb.substr(glb.size() - 12), Bytes<uint32_t>({4}) + std::string("BIN\0", 4) + bin);
    EXPECT_THROW(GlbJson("not a glb file at all"), std::runtime_error);
}
