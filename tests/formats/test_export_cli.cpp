#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <nlohmann/json.hpp>

#include "support/oracles.h"
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

// Runs a shell command; its exit status and standard output.
std::pair<int, std::string> RunCommand(const std::string& command, const std::string& folder)
{
    const std::string out = folder + "command.out";
    const int status = std::system((command + " >" + out + " 2>&1").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadWholeFile(out)};
}

} // namespace

TEST(CliExport, TheDebianAssimpToolReadsEveryFormat)
{
    const std::string assimp = VERDEL_ASSIMP_TOOL;
    VERDEL_REQUIRE_ORACLE(!assimp.empty(), "the assimp command (assimp-utils)");
    const std::string folder = Folder("assimp");
    for (const char* extension : {".obj", ".stl", ".ply", ".gltf", ".glb"}) {
        SCOPED_TRACE(extension);
        const std::string file = folder + "cones" + extension;
        const TCliRun run = RunCli({"export", Sample("cones.vd"), "--cones", "-o", file});
        ASSERT_EQ(run.Exit, 0) << run.Err;
        EXPECT_EQ(run.Err, "");
        const auto [status, output] = RunCommand(assimp + " info " + file, folder);
        EXPECT_EQ(status, 0) << output;
        EXPECT_NE(output.find("Meshes:"), std::string::npos) << output;
        EXPECT_EQ(output.find("ERROR"), std::string::npos) << output;
    }
}

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

TEST(CliExport, ADxfInputIsExportedWithoutADefinition)
{
    const std::string folder = Folder("dxf");
    ASSERT_EQ(RunCli({"dxf", Sample("hilbert3d.vd"), "-o", folder + "h.dxf"}).Exit, 0);
    const TCliRun run = RunCli({"export", folder + "h.dxf", "-o", folder + "h.obj"});
    ASSERT_EQ(run.Exit, 0) << run.Err;
    const std::string obj = ReadWholeFile(folder + "h.obj");
    EXPECT_EQ(obj.rfind("# Made by Verdel\nmtllib h.mtl\n", 0), 0u);

    const TCliRun fromVd = RunCli({"export", Sample("hilbert3d.vd"), "-o", folder + "v.obj"});
    ASSERT_EQ(fromVd.Exit, 0) << fromVd.Err;
    const std::string vd = ReadWholeFile(folder + "v.obj");
    EXPECT_EQ(vd.rfind("# Made by Verdel\n# Seed: 0\n# Definition:\n# # Three-dimensional Hilbert curve", 0), 0u);
    // The same geometry either way: the DXF keeps the model's coordinates.
    EXPECT_EQ(obj.substr(obj.find("\nvt ")), vd.substr(vd.find("\nvt ")));
}

TEST(CliExport, MeshFilesAreModelsForEveryCommand)
{
    const std::string folder = Folder("mesh-input");
    ASSERT_EQ(RunCli({"export", Sample("cones.vd"), "--cones", "-o", folder + "c.ply"}).Exit, 0);
    const TCliRun original = RunCli({"stats", Sample("cones.vd"), "--cones"});
    const TCliRun fromPly = RunCli({"stats", folder + "c.ply"});
    ASSERT_EQ(fromPly.Exit, 0) << fromPly.Err;
    // The faces, layers and bounds of the model; no definition behind it.
    const auto line = [](const std::string& text, const std::string& key) {
        const size_t at = text.find("\n" + key);
        return at == std::string::npos ? "" : text.substr(at + 1, text.find('\n', at + 1) - at - 1);
    };
    EXPECT_EQ(fromPly.Out.rfind("iterations: 0\nproduction_length: 0\n", 0), 0u) << fromPly.Out;
    for (const char* key : {"faces:", "layers:", "min:", "max:"})
        EXPECT_EQ(line(fromPly.Out, key), line(original.Out, key));

    const std::vector<std::vector<std::string>> commands = {
        {"render", folder + "c.ply", "-o", folder + "c.bmp", "--size", "64x48"},
        {"dxf", folder + "c.ply", "-o", folder + "c.dxf"},
        {"export", folder + "c.ply", "-o", folder + "c.glb"},
    };
    for (const std::vector<std::string>& command : commands) {
        SCOPED_TRACE(Joined(command));
        const TCliRun run = RunCli(command);
        EXPECT_EQ(run.Exit, 0) << run.Err;
    }
    EXPECT_TRUE(fs::file_size(folder + "c.bmp") > 0 && fs::file_size(folder + "c.dxf") > 0);
    const TCliRun fromDxf = RunCli({"stats", folder + "c.dxf"});
    for (const char* key : {"objects:", "faces:", "layers:"}) EXPECT_EQ(line(fromDxf.Out, key), line(fromPly.Out, key));
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
