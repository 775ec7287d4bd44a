// glTF files: the Khronos validator's verdict, wide indices and file names
// written as URIs; Assimp reads them back in test_mesh_export.cpp.
#include <gtest/gtest.h>

#include <filesystem>

#include <nlohmann/json.hpp>

#include "formats/gltf_writer.h"
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
    const std::string folder = MeshFolder("validator");
    // 65,536 vertices, one more than 16-bit indices reach: the indices take 32 bits.
    auto wide = std::make_unique<TFaceStore>();
    AddSquares(*wide, 16384, 3);
    ExportMesh(*wide, folder + "wide.gltf", {});
    EXPECT_EQ(ReadJson(folder + "wide.gltf")["accessors"][2]["componentType"], 5125);
    VERDEL_REQUIRE_ORACLE(ValidatorPresent(), "node or the gltf-validator package");
    struct TCase {
        std::string Name;
        std::unique_ptr<TFaceStore> Store;
        TExportInfo Info;
    };
    std::vector<TCase> cases;
    for (const TSampleModel& model : SampleModels) cases.push_back({model.File, GenerateSample(model), SampleInfo()});
    cases.push_back({"empty", std::make_unique<TFaceStore>(), SampleInfo()});
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

TEST(FileUri, KeepsUnreservedCharactersAndEncodesTheRest)
{
    EXPECT_EQ(FileUri("azAZ09-._~"), "azAZ09-._~");
    EXPECT_EQ(FileUri("my tree`{@[/:!.bin"), "my%20tree%60%7B%40%5B%2F%3A%21.bin");
    EXPECT_EQ(FileUri("b\xC3\xA4r#%.png"), "b%C3%A4r%23%25.png");
}
