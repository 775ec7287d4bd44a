// glTF files: the Khronos validator's verdict, one mesh per layer (or per
// object) in one buffer, wide indices, and the JSON written member by member.
#include <gtest/gtest.h>

#include <filesystem>

#include <assimp/postprocess.h>
#include <nlohmann/json.hpp>

#include "formats/gltf_writer.h"
#include "formats/json_writer.h"
#include "formats/mesh_export.h"
#include "formats/mesh_files.h"
#include "formats/store_builder.h"
#include "support/oracles.h"

using namespace verdel;
using namespace verdel::test;
using nlohmann::json;

namespace {

namespace fs = std::filesystem;

// The validator's report on a file: its exit status and what it printed.
std::pair<int, std::string> Validate(const std::string& file)
{
    const std::string out = file + ".report";
    const std::string command = std::string(VERDEL_NODE) + " " + VERDEL_VALIDATE_SCRIPT + " " + VERDEL_GLTF_VALIDATOR +
                                " '" + file + "' >'" + out + "' 2>&1";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadWholeFile(out)};
}

bool ValidatorPresent()
{
    return std::string(VERDEL_NODE) != "" && fs::exists(std::string(VERDEL_GLTF_VALIDATOR) + "/package.json");
}

// One object of Count separate squares side by side: 4 * Count vertices once texture places split them.
void AddSquares(TFaceStore& store, int count, int layer)
{
    TFaceObject& object = store.Object(++store.ObjectCount);
    object.ColorIndex = static_cast<uint8_t>(layer);
    object.Color = LayerColors[static_cast<size_t>(layer)];
    object.VertexCount = 4 * count;
    object.FaceCount = count;
    TFaceAppender faces(store, object);
    for (int s = 0; s < count; ++s) {
        const float x = static_cast<float>(s);
        const TVector corners[4] = {{x + 1, 1, 0}, {x + 1, 0, 0}, {x, 0, 0}, {x, 1, 0}};
        const int32_t index[4] = {4 * s + 1, 4 * s + 2, 4 * s + 3, 4 * s + 4};
        faces.Add(corners, index);
    }
}

json ReadJson(const std::string& file) { return json::parse(ReadWholeFile(file)); }

} // namespace

TEST(GltfFile, TheKhronosValidatorFindsNoErrorsAndNoWarnings)
{
    VERDEL_REQUIRE_ORACLE(ValidatorPresent(), "node or the gltf-validator package");
    const std::string folder = MeshFolder("validator");
    struct TCase {
        std::string Name;
        std::unique_ptr<TFaceStore> Store;
        TExportInfo Info;
    };
    std::vector<TCase> cases;
    for (const TSampleModel& model : SampleModels) cases.push_back({model.File, GenerateSample(model), SampleInfo()});
    cases.push_back({"empty", std::make_unique<TFaceStore>(), SampleInfo()});
    auto wide = std::make_unique<TFaceStore>();
    AddSquares(*wide, 17000, 3); // 68,000 vertices: 32-bit indices
    cases.push_back({"wide indices", std::move(wide), TExportInfo{}});
    TExportInfo untextured = SampleInfo();
    untextured.TexturesFolder.clear();
    untextured.Definition = "caf\xE9 \"quoted\"\n\\ back slash\n"; // Latin-1 and characters JSON escapes
    cases.push_back({"file name with blanks", GenerateSample(SampleModels[1]), untextured});
    TExportInfo objects = SampleInfo(), smooth = SampleInfo();
    objects.NodePerObject = true;
    smooth.SmoothNormals = true;
    cases.push_back({"node per object", GenerateSample(SampleModels[1]), objects});
    cases.push_back({"smooth normals", GenerateSample(SampleModels[1]), smooth});
    cases.push_back({"smooth normals of pyramids", GenerateSample(SampleModels[2]), smooth});

    for (const TCase& c : cases) {
        for (const char* extension : {".gltf", ".glb"}) {
            SCOPED_TRACE(c.Name + extension);
            const std::string file = folder + c.Name + extension;
            ASSERT_TRUE(ExportMesh(*c.Store, file, c.Info).empty());
            const auto [status, report] = Validate(file);
            EXPECT_EQ(status, 0) << report;
            EXPECT_EQ(report.rfind("errors: 0 warnings: 0\n", 0), 0u) << report;
        }
    }
}

TEST(GltfFile, EveryLayerOrObjectIsOneNodeAndMeshAndAllShareOneBuffer)
{
    const std::string folder = MeshFolder("meshes");
    TStoreBuilder store;
    store.AddBlock(6).AddPyramid(2).AddSquare(6);
    // Block: 6 quadrilaterals, 12 triangles; pyramid: 4 triangles and a square, 6 triangles; square: 2.
    struct TMesh {
        std::string Name;
        unsigned Triangles;
        const char* Layer;
    };
    struct TCase {
        bool PerObject;
        std::vector<TMesh> Meshes; // in file order
    };
    const TCase cases[] = {
        {false, {{"teal", 6, "teal"}, {"purple", 14, "purple"}}},
        {true, {{"object1", 12, "purple"}, {"object2", 6, "teal"}, {"object3", 2, "purple"}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.PerObject);
        TExportInfo info;
        info.NodePerObject = c.PerObject;
        ExportMesh(*store.Store, folder + "b.gltf", info);
        const json gltf = ReadJson(folder + "b.gltf");
        ASSERT_EQ(gltf["buffers"].size(), 1u);
        EXPECT_EQ(gltf["buffers"][0]["uri"], "b.bin");
        EXPECT_EQ(gltf["buffers"][0]["byteLength"], fs::file_size(folder + "b.bin"));
        EXPECT_EQ(gltf["nodes"][0]["name"], "model");
        ASSERT_EQ(gltf["meshes"].size(), c.Meshes.size());
        EXPECT_EQ(gltf["nodes"].size(), c.Meshes.size() + 1);
        for (size_t m = 0; m < c.Meshes.size(); ++m) {
            SCOPED_TRACE(m);
            EXPECT_EQ(gltf["nodes"][0]["children"][m], m + 1);
            EXPECT_EQ(gltf["nodes"][m + 1]["mesh"], m);
            EXPECT_EQ(gltf["nodes"][m + 1]["name"], c.Meshes[m].Name);
            EXPECT_EQ(gltf["meshes"][m]["name"], c.Meshes[m].Name);
            ASSERT_EQ(gltf["meshes"][m]["primitives"].size(), 1u);
            const json& primitive = gltf["meshes"][m]["primitives"][0];
            EXPECT_EQ(gltf["accessors"][primitive["indices"].get<size_t>()]["count"], 3 * c.Meshes[m].Triangles);
            EXPECT_EQ(gltf["materials"][primitive["material"].get<size_t>()]["name"], c.Meshes[m].Layer);
            for (const char* attribute : {"POSITION", "TEXCOORD_0"})
                EXPECT_EQ(gltf["accessors"][primitive["attributes"][attribute].get<size_t>()]["bufferView"], 0);
        }
        // The last mesh's positions: the block's unit square times two in z, with the square (layers) or alone.
        const json& position = gltf["accessors"][gltf["meshes"][1]["primitives"][0]["attributes"]["POSITION"].get<size_t>()];
        EXPECT_EQ(position["min"], json({c.PerObject ? -1 : 0, c.PerObject ? -1 : 0, 0}));
        EXPECT_EQ(position["max"], json({1, 1, c.PerObject ? 3 : 2}));
    }
}

TEST(GltfFile, ObjectsOfMoreThan65535VerticesTake32BitIndices)
{
    const std::string folder = MeshFolder("wide");
    for (const int squares : {16383, 16384}) { // 65,532 and 65,536 vertices
        SCOPED_TRACE(squares);
        auto store = std::make_unique<TFaceStore>();
        AddSquares(*store, squares, 1);
        ExportMesh(*store, folder + "w.glb", {});
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFile(folder + "w.glb", aiProcess_ValidateDataStructure);
        ASSERT_NE(scene, nullptr) << importer.GetErrorString();
        EXPECT_EQ(scene->mMeshes[0]->mNumFaces, 2u * squares);
        EXPECT_EQ(scene->mMeshes[0]->mNumVertices, 4u * squares);
        ExportMesh(*store, folder + "w.gltf", {});
        EXPECT_EQ(ReadJson(folder + "w.gltf")["accessors"][2]["componentType"], squares > 16383 ? 5125 : 5123);
    }
}

TEST(JsonObjectWriter, WritesTheDocumentItsMembersAndElementsMake)
{
    std::string text = "prefix:";
    TJsonObjectWriter writer(text);
    writer.Member("a \"quoted\" key", {{"x", 1}});
    writer.BeginArray("list");
    writer.EndArray();
    writer.BeginArray("numbers");
    for (int i = 0; i < 3; ++i) writer.Element(i * 1.5);
    writer.EndArray();
    writer.Member("text", "line\nbreak");
    writer.End();
    ASSERT_EQ(text.rfind("prefix:", 0), 0u);
    EXPECT_EQ(json::parse(text.substr(7)),
              json::parse(R"({"a \"quoted\" key":{"x":1},"list":[],"numbers":[0,1.5,3],"text":"line\nbreak"})"));
}

TEST(FileUri, KeepsUnreservedCharactersAndEncodesTheRest)
{
    EXPECT_EQ(FileUri("Text01.jpg"), "Text01.jpg");
    EXPECT_EQ(FileUri("my tree~1.bin"), "my%20tree~1.bin");
    EXPECT_EQ(FileUri("b\xC3\xA4r#%.png"), "b%C3%A4r%23%25.png");
}
