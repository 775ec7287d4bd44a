// The mesh writers: every format read back by Assimp, the notes, materials,
// pictures and colours each format keeps, and the failures.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <nlohmann/json.hpp>

#include "formats/mesh_export.h"
#include "formats/mesh_files.h"
#include "formats/ply_writer.h"
#include "formats/stl_writer.h"
#include "engine/primitives.h"
#include "formats/store_builder.h"

using namespace verdel;
using namespace verdel::test;

namespace {

namespace fs = std::filesystem;

struct TExpected {
    const char* Extension;
    unsigned Meshes, Vertices, Faces;
    bool TexCoords, Colors, Materials;
    bool PerObject = false; // glTF: a mesh per object
};

// How each format lays the store out: OBJ a group per object with a vertex
// per face corner once Assimp reads it; PLY and STL one mesh, PLY sharing an
// object's vertices, STL three per triangle; glTF a mesh per layer (or per
// object) whose vertices split by their texture place.
std::vector<TExpected> Expectations(const TStoreCounts& c)
{
    const auto layers = static_cast<unsigned>(c.Layers.size());
    return {
        {".obj", c.Objects, c.Corners, c.Faces, true, false, true},
        {".ply", 1, c.UsedVertices, c.Faces, false, true, false},
        {".stl", 1, 3 * c.Triangles, c.Triangles, false, false, false},
        {".gltf", layers, c.TexturedVertices, c.Triangles, true, false, true},
        {".glb", layers, c.TexturedVertices, c.Triangles, true, false, true},
        {".glb", c.Objects, c.TexturedVertices, c.Triangles, true, false, true, true},
    };
}

aiColor4D Diffuse(const aiScene& scene, const std::string& name)
{
    for (unsigned m = 0; m < scene.mNumMaterials; ++m) {
        aiString materialName;
        scene.mMaterials[m]->Get(AI_MATKEY_NAME, materialName);
        aiColor4D colour;
        if (name == materialName.C_Str() && scene.mMaterials[m]->Get(AI_MATKEY_COLOR_DIFFUSE, colour) == AI_SUCCESS)
            return colour;
    }
    return {-1, -1, -1, -1};
}

// The materials Assimp adds of its own for faces without one left out.
std::set<std::string> WithoutDefaults(std::set<std::string> materials)
{
    materials.erase("DefaultMaterial");
    materials.erase("");
    return materials;
}

// The "v" lines of OBJ text, read back exactly.
std::set<std::tuple<float, float, float>> ObjPositions(const std::string& obj)
{
    std::set<std::tuple<float, float, float>> positions;
    std::istringstream lines(obj);
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with("v ")) continue;
        float c[3];
        const char* at = line.data() + 2;
        for (float& value : c) at = std::from_chars(at, line.data() + line.size(), value).ptr + 1;
        positions.insert({c[0], c[1], c[2]});
    }
    return positions;
}

std::string ErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "no error";
}

} // namespace

TEST(MeshExport, EveryFormatReadsBackWithTheStoresObjectsFacesMaterialsAndCoordinates)
{
    const std::string folder = MeshFolder("round-trip");
    for (const TSampleModel& model : SampleModels) {
        SCOPED_TRACE(model.File);
        const auto store = GenerateSample(model);
        const TStoreCounts counts = CountStore(*store);
        ASSERT_GT(counts.Objects, 0u);
        for (const TExpected& e : Expectations(counts)) {
            SCOPED_TRACE(std::string(e.Extension) + (e.PerObject ? " per object" : ""));
            const std::string file = folder + "model" + e.Extension;
            TExportInfo info = SampleInfo();
            info.NodePerObject = e.PerObject;
            EXPECT_TRUE(ExportMesh(*store, file, info).empty());
            Assimp::Importer importer;
            const aiScene* scene = importer.ReadFile(file, aiProcess_ValidateDataStructure);
            ASSERT_NE(scene, nullptr) << importer.GetErrorString();
            const TSceneTotals totals = SceneTotals(*scene);
            EXPECT_EQ(totals.Meshes, e.Meshes);
            EXPECT_EQ(totals.Vertices, e.Vertices);
            EXPECT_EQ(totals.Faces, e.Faces);
            EXPECT_TRUE(totals.TexCoords || !e.TexCoords);
            EXPECT_TRUE(totals.Colors || !e.Colors);
            if (e.Materials) {
                EXPECT_EQ(WithoutDefaults(totals.Materials), counts.Layers);
            }
            // Every coordinate is the model's own float, written exactly; Assimp's
            // reading of decimal text may be a unit in the last place off.
            if (std::string(e.Extension) == ".obj") {
                EXPECT_EQ(ObjPositions(ReadWholeFile(file)), counts.Positions);
                EXPECT_TRUE(NearlyEqual(totals.Positions, counts.Positions));
            } else {
                EXPECT_EQ(totals.Positions, counts.Positions);
            }
        }
    }
}

TEST(MeshExport, SmoothNormalsAreUnitVectorsRoundTubesAndConesAndFlatElsewhere)
{
    const std::string folder = MeshFolder("smooth");
    TStoreBuilder store;
    const TVector up{0, 1, 0}, left{1, 0, 0};
    ASSERT_TRUE(AddCylinder(store.Builder, 0.5f, {-10, 0, 0}, {-10, 0, 4}, 1, up, left)); // x below -5
    ASSERT_TRUE(AddCone(store.Builder, 0.5f, {10, 0, 0}, {10, 0, 4}, 2, up, left));       // x above 5
    store.AddBlock(3);                                                                      // the unit square, z 0..2
    TExportInfo info;
    info.SmoothNormals = true;
    for (const char* extension : {".obj", ".ply", ".glb"}) {
        SCOPED_TRACE(extension);
        ExportMesh(*store.Store, folder + "s" + extension, info);
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFile(folder + "s" + extension, aiProcess_ValidateDataStructure);
        ASSERT_NE(scene, nullptr) << importer.GetErrorString();
        std::map<std::tuple<float, float, float>, std::vector<aiVector3D>> normalsAt;
        for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
            const aiMesh& mesh = *scene->mMeshes[m];
            ASSERT_TRUE(mesh.HasNormals());
            for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
                const aiVector3D& n = mesh.mNormals[v];
                EXPECT_NEAR(n.Length(), 1.0f, 1e-5f);
                normalsAt[{mesh.mVertices[v].x, mesh.mVertices[v].y, mesh.mVertices[v].z}].push_back(n);
            }
        }
        ASSERT_EQ(normalsAt.size(), 32u + 18u + 8u);
        for (const auto& [place, normals] : normalsAt) {
            const auto [x, y, z] = place;
            // The directions at a place: normals within 1e-5 of each other count once.
            std::vector<aiVector3D> directions;
            for (const aiVector3D& n : normals)
                if (std::none_of(directions.begin(), directions.end(),
                                 [&](const aiVector3D& d) { return (d - n).Length() < 1e-5f; }))
                    directions.push_back(n);
            if (x < -5) {
                // A tube: one normal at every place, pointing straight out of (or into) the axis.
                ASSERT_EQ(directions.size(), 1u);
                const aiVector3D& n = directions[0];
                EXPECT_NEAR(std::abs(n.x * (x + 10) + n.y * y) / std::hypot(x + 10, y), 1.0f, 1e-5f);
            } else if (x > 5) {
                // A cone: the ring has the flat normal of the base and the smooth one of the sides.
                const bool ring = z == 0 && (x != 10 || y != 0);
                EXPECT_EQ(directions.size(), ring ? 2u : 1u);
            } else {
                // A block: the three faces about each corner, each flat and square to an axis.
                EXPECT_EQ(directions.size(), 3u);
                for (const aiVector3D& n : directions)
                    EXPECT_NEAR(std::max({std::abs(n.x), std::abs(n.y), std::abs(n.z)}), 1.0f, 1e-6f);
            }
        }
    }
}

TEST(MeshExport, ThePicturesTopRightShowsAtTheFirstCornerAsInTheTexturedView)
{
    const std::string folder = MeshFolder("orientation");
    TStoreBuilder store;
    store.AddSquare(1); // P0 (1, 1), P1 (1, 0), P2 (0, 0), P3 (0, 1)
    // Assimp counts v upwards from the picture's bottom row, whatever the file counts.
    const std::map<std::tuple<float, float>, std::tuple<float, float>> expected = {
        {{1, 1}, {1, 1}}, {{1, 0}, {1, 0}}, {{0, 0}, {0, 0}}, {{0, 1}, {0, 1}}};
    for (const char* extension : {".obj", ".gltf", ".glb"}) {
        SCOPED_TRACE(extension);
        ExportMesh(*store.Store, folder + "q" + extension, {});
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFile(folder + "q" + extension, 0);
        ASSERT_NE(scene, nullptr);
        const aiMesh& mesh = *scene->mMeshes[0];
        ASSERT_TRUE(mesh.HasTextureCoords(0));
        std::map<std::tuple<float, float>, std::tuple<float, float>> places;
        for (unsigned v = 0; v < mesh.mNumVertices; ++v)
            places[{mesh.mVertices[v].x, mesh.mVertices[v].y}] = {mesh.mTextureCoords[0][v].x,
                                                                  mesh.mTextureCoords[0][v].y};
        EXPECT_EQ(places, expected);
    }
}

TEST(MeshExport, NotesGoIntoCommentsHeadersAndTheAssetExtras)
{
    const std::string folder = MeshFolder("notes");
    const auto store = GenerateSample(SampleModels[1]); // layers 1 and 8
    for (const char* extension : {".obj", ".ply", ".stl", ".gltf", ".glb"})
        ASSERT_TRUE(ExportMesh(*store, folder + "c" + extension, SampleInfo()).empty());

    EXPECT_EQ(ReadWholeFile(folder + "c.obj").rfind("# Made by Verdel\n# Seed: 7\n# Definition:\n# 2\n# 90\n# 10\n", 0),
              0u);
    EXPECT_EQ(ReadWholeFile(folder + "c.mtl").rfind("# Made by Verdel\n", 0), 0u);
    EXPECT_NE(ReadWholeFile(folder + "c.ply").find("\ncomment Made by Verdel\ncomment Seed: 7\ncomment Definition:\n"),
              std::string::npos);
    EXPECT_EQ(ReadWholeFile(folder + "c.stl").substr(0, 23), std::string("Made by Verdel, seed 7\0", 23));

    const nlohmann::json gltf = nlohmann::json::parse(ReadWholeFile(folder + "c.gltf"));
    EXPECT_EQ(gltf["asset"]["generator"], "Verdel");
    EXPECT_EQ(gltf["asset"]["extras"]["definition"], SampleInfo().Definition);
    EXPECT_EQ(gltf["asset"]["extras"]["seed"], 7);
    const std::string glb = ReadWholeFile(folder + "c.glb");
    EXPECT_NE(glb.find(R"("extras":{"definition":"2\n90\n10\nF\nF=F[+F]\n@\n","seed":7})"), std::string::npos);
}

TEST(MeshExport, LayerMaterialsCarryTheLayerColours)
{
    const std::string folder = MeshFolder("colours");
    const auto store = GenerateSample(SampleModels[1]);
    ExportMesh(*store, folder + "c.obj", SampleInfo());
    Assimp::Importer importer;
    const aiScene* obj = importer.ReadFile(folder + "c.obj", 0);
    ASSERT_NE(obj, nullptr);
    const aiColor4D olive = Diffuse(*obj, "olive"), green = Diffuse(*obj, "green");
    EXPECT_EQ(std::lround(olive.r * 255), 128);
    EXPECT_EQ(std::lround(olive.g * 255), 128);
    EXPECT_EQ(std::lround(olive.b * 255), 0);
    EXPECT_EQ(std::lround(green.r * 255), 0);
    EXPECT_EQ(std::lround(green.g * 255), 128);

    // A glTF material without a picture shows its colour; one with a picture shows it untinted.
    TExportInfo info = SampleInfo();
    info.LayerTextures[8] = folder + "no-such-picture.jpg";
    ExportMesh(*store, folder + "c.gltf", info);
    const nlohmann::json gltf = nlohmann::json::parse(ReadWholeFile(folder + "c.gltf"));
    ASSERT_EQ(gltf["materials"].size(), 2u);
    EXPECT_EQ(gltf["materials"][0]["name"], "green");
    EXPECT_TRUE(gltf["materials"][0]["pbrMetallicRoughness"].contains("baseColorTexture"));
    EXPECT_FALSE(gltf["materials"][0]["pbrMetallicRoughness"].contains("baseColorFactor"));
    const nlohmann::json factor = gltf["materials"][1]["pbrMetallicRoughness"]["baseColorFactor"];
    EXPECT_EQ(factor, nlohmann::json({128 / 255.0f, 128 / 255.0f, 0.0f, 1.0f}));
    EXPECT_TRUE(gltf["materials"][1]["doubleSided"]);
}

TEST(MeshExport, PlyVerticesCarryTheirLayerColourAsBytes)
{
    const std::string folder = MeshFolder("ply-colours");
    const auto store = GenerateSample(SampleModels[2]); // pyramids of 5 vertices on four layers
    ExportMesh(*store, folder + "p.ply", SampleInfo());
    const std::string ply = ReadWholeFile(folder + "p.ply");
    EXPECT_NE(ply.find("property uchar red\nproperty uchar green\nproperty uchar blue\n"), std::string::npos);

    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(folder + "p.ply", 0);
    ASSERT_NE(scene, nullptr);
    std::map<std::tuple<long, long, long>, unsigned> perColour, expected;
    const aiMesh& mesh = *scene->mMeshes[0];
    for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
        const aiColor4D c = mesh.mColors[0][v];
        ++perColour[{std::lround(c.r * 255), std::lround(c.g * 255), std::lround(c.b * 255)}];
    }
    for (int k = 1; k <= store->ObjectCount; ++k) {
        const TColor c = LayerColors[store->Object(k).ColorIndex];
        expected[{c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF}] += 5;
    }
    EXPECT_EQ(perColour, expected);
}

TEST(MeshExport, TexturesAreCopiedBesideOrCarriedInside)
{
    const std::string folder = MeshFolder("textures");
    const auto store = GenerateSample(SampleModels[1]); // layers 1 and 8
    for (const char* extension : {".obj", ".gltf", ".glb"})
        EXPECT_TRUE(ExportMesh(*store, folder + "c" + extension, SampleInfo()).empty());
    const std::string textures = std::string(VERDEL_DATA) + "/textures/";
    EXPECT_EQ(ReadWholeFile(folder + "Text01.jpg"), ReadWholeFile(textures + "Text01.jpg"));
    EXPECT_EQ(ReadWholeFile(folder + "Text08.jpg"), ReadWholeFile(textures + "Text08.jpg"));
    EXPECT_FALSE(fs::exists(folder + "Text02.jpg"));
    EXPECT_NE(ReadWholeFile(folder + "c.mtl").find("map_Kd Text08.jpg\n"), std::string::npos);
    const nlohmann::json gltf = nlohmann::json::parse(ReadWholeFile(folder + "c.gltf"));
    EXPECT_EQ(gltf["images"], nlohmann::json::parse(R"([{"uri":"Text01.jpg"},{"uri":"Text08.jpg"}])"));

    Assimp::Importer importer;
    const aiScene* glb = importer.ReadFile(folder + "c.glb", 0);
    ASSERT_NE(glb, nullptr);
    ASSERT_EQ(glb->mNumTextures, 2u);
    const aiTexture& olive = *glb->mTextures[1];
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(olive.pcData), olive.mWidth),
              ReadWholeFile(textures + "Text08.jpg"));
}

TEST(MeshExport, APictureThatCannotBeUsedLeavesItsMaterialUntexturedWithAWarning)
{
    const std::string folder = MeshFolder("missing-picture");
    const auto store = GenerateSample(SampleModels[1]);
    TExportInfo info = SampleInfo();
    info.LayerTextures[8] = folder + "no-such-picture.jpg";
    info.LayerTextures[1] = folder + "marble.bmp"; // readable, but no picture glTF takes
    std::ofstream(folder + "marble.bmp") << "BM";
    const std::vector<std::string> objWarnings = ExportMesh(*store, folder + "m.obj", info);
    ASSERT_EQ(objWarnings.size(), 1u);
    EXPECT_EQ(objWarnings[0],
              folder + "no-such-picture.jpg: cannot be read; the olive material is written without its texture");
    EXPECT_EQ(ReadWholeFile(folder + "m.mtl").find("map_Kd Text08"), std::string::npos);
    EXPECT_NE(ReadWholeFile(folder + "m.mtl").find("map_Kd marble.bmp"), std::string::npos); // OBJ takes any picture

    const std::vector<std::string> glbWarnings = ExportMesh(*store, folder + "m.glb", info);
    ASSERT_EQ(glbWarnings.size(), 2u);
    EXPECT_EQ(glbWarnings[0], folder + "marble.bmp: glTF holds only JPEG and PNG pictures; the green material is "
                                       "written without its texture");
}

TEST(MeshExport, AnEmptyStoreWritesValidEmptyFiles)
{
    const std::string folder = MeshFolder("empty");
    const auto store = std::make_unique<TFaceStore>();
    for (const char* extension : {".obj", ".stl", ".ply", ".gltf", ".glb"}) {
        SCOPED_TRACE(extension);
        EXPECT_TRUE(ExportMesh(*store, folder + "e" + extension, SampleInfo()).empty());
    }
    const std::string obj = ReadWholeFile(folder + "e.obj");
    EXPECT_EQ(obj.find("\nv "), std::string::npos);
    EXPECT_EQ(obj.find("\nf "), std::string::npos);
    EXPECT_EQ(ReadWholeFile(folder + "e.stl").size(), 84u); // the header and a triangle count of 0
    EXPECT_EQ(ReadWholeFile(folder + "e.stl").substr(80), std::string(4, '\0'));
    const std::string ply = ReadWholeFile(folder + "e.ply");
    EXPECT_NE(ply.find("element vertex 0\n"), std::string::npos);
    EXPECT_NE(ply.find("element face 0\n"), std::string::npos);
    EXPECT_EQ(ply.substr(ply.size() - 11), "end_header\n");
    // glTF allows no buffer of length 0: the empty model has none, and no buffer file.
    EXPECT_FALSE(fs::exists(folder + "e.bin"));
    EXPECT_FALSE(nlohmann::json::parse(ReadWholeFile(folder + "e.gltf")).contains("buffers"));
}

TEST(MeshExport, BadNamesAndMissingFoldersAreReportedNotCrashed)
{
    const auto store = std::make_unique<TFaceStore>();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/no/such/folder/x.obj", "/no/such/folder/x.obj: the folder /no/such/folder does not exist"},
        {"/no/such/folder/x.glb", "/no/such/folder/x.glb: the folder /no/such/folder does not exist"},
        {MeshFolder("names") + "x.dxf",
         "x.dxf: unknown mesh format; the name must end in .obj, .stl, .ply, .gltf or .glb"},
    };
    for (const auto& [name, message] : cases) {
        SCOPED_TRACE(name);
        const std::string& file = name; // clang 14 cannot capture a structured binding in a lambda
        const std::string what = ErrorOf([&] { ExportMesh(*store, file, {}); });
        EXPECT_TRUE(what.ends_with(message)) << what;
    }
    EXPECT_EQ(MeshFormatOf("TREE.GLB"), TMeshFormat::mfGlb);
    EXPECT_EQ(MeshFormatOf("tree.Gltf"), TMeshFormat::mfGltf);
    EXPECT_FALSE(MeshFormatOf("tree.obj.txt"));
}

TEST(MeshExport, AFileThatCannotBeWrittenIsAnErrorNamingIt)
{
    const std::string folder = MeshFolder("unwritable");
    fs::create_directory(folder + "taken.obj"); // a folder where the file should go
    fs::create_directory(folder + "model.mtl"); // ... or its material file
    const auto store = GenerateSample(SampleModels[0]);
    EXPECT_EQ(ErrorOf([&] { ExportMesh(*store, folder + "taken.obj", SampleInfo()); }).rfind(folder + "taken.obj: ", 0),
              0u);
    EXPECT_EQ(ErrorOf([&] { ExportMesh(*store, folder + "model.obj", SampleInfo()); }).rfind(folder + "model.mtl: ", 0),
              0u);
    EXPECT_FALSE(fs::exists(folder + "model.obj")); // abandoned, not left half-written

    // The first broken object ends the writing; the unfinished file is removed.
    TStoreBuilder broken;
    broken.AddSquare(1).AddSquare(1);
    broken.Store->Object(2).ModelFaces->CornerIndex[1] = 0;
    for (const char* extension : {".obj", ".stl", ".ply", ".gltf", ".glb"}) {
        SCOPED_TRACE(extension);
        const std::string file = folder + "broken" + extension;
        EXPECT_EQ(ErrorOf([&] { ExportMesh(*broken.Store, file, {}); }), file + ": object 2: corner index 0");
        EXPECT_FALSE(fs::exists(file));
    }
}

TEST(MeshExport, AStreamThatFailsIsAWriteError)
{
    TStoreBuilder store;
    store.AddBlock(1);
    std::ostringstream failing;
    failing.setstate(std::ios::badbit);
    EXPECT_EQ(ErrorOf([&] { WriteStl(*store.Store, failing, "x"); }), "write error");
    EXPECT_EQ(ErrorOf([&] { WritePly(*store.Store, failing, {}); }), "write error");

    // The same store written to a string: an STL of 12 triangles, 50 bytes each.
    std::ostringstream stl;
    WriteStl(*store.Store, stl, "block");
    EXPECT_EQ(stl.str().size(), 84u + 12u * 50u);
}
