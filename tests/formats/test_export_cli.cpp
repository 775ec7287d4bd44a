// The export subcommand: its options, model files of every kind as input to
// every command, and what it notes about partial models and missing pictures.
#include <gtest/gtest.h>

#include <filesystem>

#include <nlohmann/json.hpp>

#include "support/run_cli.h"

using namespace verdel::test;

namespace {

namespace fs = std::filesystem;

std::string Folder(const std::string& name)
{
    static const TTempFolder scratch("export-cli");
    const fs::path folder = scratch / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder.string() + "/";
}

// The line of the batch tool's statistics that starts with Key.
std::string Line(const std::string& text, const std::string& key)
{
    const size_t at = text.find("\n" + key);
    return at == std::string::npos ? "" : text.substr(at + 1, text.find('\n', at + 1) - at - 1);
}

} // namespace

TEST(CliExport, ObjectsAndSmoothChooseTheNodesAndTheNormals)
{
    const std::string folder = Folder("options");
    const struct {
        const char* Option;
        const char* FirstNode; // after the model's own
        bool Normals;
    } cases[] = {{"", "green", false}, {"--objects", "object1", false}, {"--smooth", "green", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Option);
        // Each case replaces the last one's c.bin, which differs.
        std::vector<std::string> command = {"export", Sample("cones.vd"), "--cones", "--overwrite", "-o", folder + "c.gltf"};
        if (*c.Option) command.push_back(c.Option);
        const TCliRun run = RunCli(command);
        ASSERT_EQ(run.Exit, 0) << run.Err;
        const nlohmann::json gltf = nlohmann::json::parse(ReadWholeFile(folder + "c.gltf"));
        EXPECT_EQ(gltf["nodes"][1]["name"], c.FirstNode);
        EXPECT_EQ(gltf["nodes"].size() > 3, std::string(c.Option) == "--objects"); // two layers, or many objects
        EXPECT_EQ(gltf["meshes"][0]["primitives"][0]["attributes"].contains("NORMAL"), c.Normals);
    }
}

TEST(CliExport, MeshAndDxfFilesAreModelsForEveryCommand)
{
    const std::string folder = Folder("mesh-input");
    ASSERT_EQ(RunCli({"export", Sample("cones.vd"), "--cones", "-o", folder + "c.ply"}).Exit, 0);
    const TCliRun original = RunCli({"stats", Sample("cones.vd"), "--cones"});
    const std::vector<std::vector<std::string>> commands = {
        {"render", folder + "c.ply", "-o", folder + "c.bmp", "--size", "64x48"},
        {"dxf", folder + "c.ply", "-o", folder + "c.dxf"},
        {"export", folder + "c.ply", "-o", folder + "c.glb"},
        {"dxf", Sample("hilbert3d.vd"), "-o", folder + "h.dxf"},
        {"export", folder + "h.dxf", "-o", folder + "d.obj"},
        {"export", Sample("hilbert3d.vd"), "-o", folder + "v.obj"},
    };
    for (const std::vector<std::string>& command : commands) {
        const TCliRun run = RunCli(command);
        EXPECT_EQ(run.Exit, 0) << Joined(command) << ": " << run.Err;
    }
    EXPECT_GT(fs::file_size(folder + "c.bmp"), 0u);
    // The faces, layers and bounds of the model, whatever file holds it; no definition behind it.
    for (const char* model : {"c.ply", "c.dxf"}) {
        const TCliRun stats = RunCli({"stats", folder + model});
        ASSERT_EQ(stats.Exit, 0) << model << ": " << stats.Err;
        EXPECT_EQ(stats.Out.rfind("iterations: 0\nproduction_length: 0\n", 0), 0u) << stats.Out;
        for (const char* key : {"faces:", "layers:", "min:", "max:"})
            EXPECT_EQ(Line(stats.Out, key), Line(original.Out, key)) << model;
    }
    // A model read from a DXF has no notes of a definition, but the same geometry.
    const std::string fromDxf = ReadWholeFile(folder + "d.obj"), fromVd = ReadWholeFile(folder + "v.obj");
    EXPECT_EQ(fromDxf.rfind("# Made by Verdel\nmtllib d.mtl\n", 0), 0u) << fromDxf.substr(0, 80);
    EXPECT_EQ(fromVd.rfind("# Made by Verdel\n# Seed: 0\n# Definition:\n# # Three-dimensional Hilbert curve", 0), 0u) << fromVd.substr(0, 80);
    EXPECT_EQ(fromDxf.substr(fromDxf.find("\nvt ")), fromVd.substr(fromVd.find("\nvt ")));
}

// A model with objects left out, or a texture that cannot be read, is still
// written, with a note or a warning.
TEST(CliExport, PartialModelsAndMissingTexturesAreWrittenWithANote)
{
    const std::string folder = Folder("statuses");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"export", Fixture("overflowing_turtle.vd"), "-o", folder + "o.stl"},
         "note: 2 objects left out of the model: a coordinate was not a finite number\n"},
        {{"export", Sample("hilbert3d.vd"), "--textures", "/no/such/textures", "-o", folder + "w.obj"},
         "warning: /no/such/textures/Text01.jpg: cannot be read; the green material is written without its texture"},
    };
    for (const auto& [args, err] : cases) {
        SCOPED_TRACE(Joined(args));
        const TCliRun run = RunCli(args);
        EXPECT_EQ(run.Exit, 0) << run.Err;
        EXPECT_EQ(run.Err.rfind(err, 0), 0u) << run.Err;
    }
    EXPECT_EQ(ReadWholeFile(folder + "w.mtl").find("map_Kd"), std::string::npos);
}
