// The mesh writers: every format read back by Assimp, the normals, picture
// places, notes, materials, colours and pictures each format keeps, and the failures.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <nlohmann/json.hpp>

#include "engine/primitives.h"
#include "formats/mesh_export.h"
#include "formats/mesh_files.h"
#include "formats/model_reader.h"
#include "formats/ply_writer.h"
#include "formats/stl_writer.h"
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

// Faces per layer, a triangle counting as a third of a quadrilateral's two
// halves: quadrilaterals 2, triangles 1 (so a quadrilateral split in two counts the same).
std::map<int, int> TrianglesPerLayer(const TFaceStore& store)
{
    std::map<int, int> triangles;
    for (int k = 1; k <= store.ObjectCount; ++k)
        for (const TFaceNode* face = store.Object(k).ModelFaces; face; face = face->Next)
            triangles[store.Object(k).ColorIndex] += face->CornerIndex[3] == face->CornerIndex[2] ? 1 : 2;
    return triangles;
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

const aiScene* ReadScene(Assimp::Importer& importer, const std::string& file)
{
    const aiScene* scene = importer.ReadFile(file, aiProcess_ValidateDataStructure);
    EXPECT_NE(scene, nullptr) << file << ": " << importer.GetErrorString();
    return scene;
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
            const aiScene* scene = ReadScene(importer, file);
            if (!scene) continue;
            const TSceneTotals totals = SceneTotals(*scene);
            EXPECT_EQ(totals.Meshes, e.Meshes);
            EXPECT_EQ(totals.Vertices, e.Vertices);
            EXPECT_EQ(totals.Faces, e.Faces);
            EXPECT_TRUE(totals.TexCoords || !e.TexCoords);
            EXPECT_TRUE(totals.Colors || !e.Colors);
            std::set<std::string> materials = totals.Materials;
            materials.erase("DefaultMaterial"); // Assimp's own, for faces without one
            materials.erase("");
            EXPECT_TRUE(!e.Materials || materials == counts.Layers);
            // Every coordinate is the model's own float, written exactly; Assimp's
            // reading of decimal text may be a unit in the last place off.
            if (std::string(e.Extension) == ".obj") {
                EXPECT_EQ(ObjPositions(ReadWholeFile(file)), counts.Positions);
                EXPECT_TRUE(NearlyEqual(totals.Positions, counts.Positions));
            } else {
                EXPECT_EQ(totals.Positions, counts.Positions);
            }
            // Read back by Verdel's importer: the faces on their layers (STL keeps no colour:
            // Assimp's white is nearest to silver), in objects it can hold, and the bounds.
            // A glTF's buffer URI is percent-encoded ("a%20b%20%C3%A4.bin"), which Assimp alone does not read.
            const std::string extension = e.Extension, named = folder + "a b \u00e4" + extension;
            if (extension == ".gltf") ExportMesh(*store, named, info);
            auto read = std::make_unique<TFaceStore>();
            ReadForeignModelFile(*read, extension == ".gltf" ? named : file);
            const std::map<int, int> layers = extension == ".stl" ? std::map<int, int>{{12, counts.Triangles}}
                                                                  : TrianglesPerLayer(*store);
            EXPECT_EQ(TrianglesPerLayer(*read), layers);
            for (int layer = 1; layer <= LayerCount; ++layer) EXPECT_EQ(read->LayerUsed[layer], layers.count(layer) > 0);
            const TStoreCounts back = CountStore(*read);
            EXPECT_EQ(back.Faces, extension == ".obj" || extension == ".ply" ? counts.Faces : counts.Triangles);
            EXPECT_TRUE(extension == ".obj" ? NearlyEqual(back.Positions, counts.Positions)
                                            : back.Positions == counts.Positions);
            EXPECT_LE(LargestObject(*read), MaxImportedVertices);
            EXPECT_EQ(read->MaxX, store->MaxX);
            EXPECT_EQ(read->MinZ, store->MinZ);
        }
    }
    // An empty store writes files without geometry (the glTF validator reads the empty glTF).
    const auto empty = std::make_unique<TFaceStore>();
    for (const char* extension : {".obj", ".stl", ".ply", ".gltf", ".glb"})
        EXPECT_TRUE(ExportMesh(*empty, folder + "e" + extension, SampleInfo()).empty()) << extension;
    EXPECT_EQ(ReadWholeFile(folder + "e.stl").substr(80), std::string(4, '\0')) << "no triangles";
    EXPECT_NE(ReadWholeFile(folder + "e.ply").find("element vertex 0\nproperty"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(folder + "e.obj").find("\nv "), std::string::npos);
    EXPECT_FALSE(fs::exists(folder + "e.bin")) << "glTF allows no buffer of length 0";
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
        const aiScene* scene = ReadScene(importer, folder + "s" + extension);
        ASSERT_NE(scene, nullptr);
        // The directions at each place: normals within 1e-5 of each other count once.
        std::map<std::tuple<float, float, float>, std::vector<aiVector3D>> directionsAt;
        for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
            const aiMesh& mesh = *scene->mMeshes[m];
            ASSERT_TRUE(mesh.HasNormals());
            for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
                const aiVector3D& n = mesh.mNormals[v];
                EXPECT_NEAR(n.Length(), 1.0f, 1e-5f);
                auto& directions = directionsAt[{mesh.mVertices[v].x, mesh.mVertices[v].y, mesh.mVertices[v].z}];
                if (std::none_of(directions.begin(), directions.end(),
                                 [&](const aiVector3D& d) { return (d - n).Length() < 1e-5f; }))
                    directions.push_back(n);
            }
        }
        ASSERT_EQ(directionsAt.size(), 32u + 18u + 8u);
        for (const auto& [place, directions] : directionsAt) {
            const auto [x, y, z] = place;
            if (x < -5) {
                // A tube: one normal at every place, pointing straight out of (or into) the axis.
                ASSERT_EQ(directions.size(), 1u);
                const aiVector3D& n = directions[0];
                EXPECT_NEAR(std::abs(n.x * (x + 10) + n.y * y) / std::hypot(x + 10, y), 1.0f, 1e-5f);
            } else if (x > 5) {
                // A cone: the ring has the flat normal of the base and the smooth one of the sides.
                EXPECT_EQ(directions.size(), z == 0 && (x != 10 || y != 0) ? 2u : 1u);
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
        const aiScene* scene = ReadScene(importer, folder + "q" + extension);
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

// The cones sample (green layer 1, olive layer 8) in every format, with notes and pictures.
TEST(MeshExport, NotesMaterialsColoursAndPicturesGoWhereEachFormatKeepsThem)
{
    const std::string folder = MeshFolder("content");
    const auto store = GenerateSample(SampleModels[1]);
    for (const char* extension : {".obj", ".ply", ".stl", ".gltf", ".glb"})
        ASSERT_TRUE(ExportMesh(*store, folder + "c" + extension, SampleInfo()).empty()) << extension;
    EXPECT_EQ(ReadWholeFile(folder + "c.obj").rfind("# Made by Verdel\n# Seed: 7\n# Definition:\n# 2\n# 90\n# 10\n", 0),
              0u);
    EXPECT_EQ(ReadWholeFile(folder + "c.mtl").rfind("# Made by Verdel\n", 0), 0u);
    EXPECT_NE(ReadWholeFile(folder + "c.ply").find("\ncomment Made by Verdel\ncomment Seed: 7\ncomment Definition:\n"),
              std::string::npos);
    EXPECT_EQ(ReadWholeFile(folder + "c.stl").substr(0, 23), std::string("Made by Verdel, seed 7\0", 23));
    const nlohmann::json gltf = nlohmann::json::parse(ReadWholeFile(folder + "c.gltf"));
    EXPECT_EQ(gltf["asset"]["generator"], "Verdel");
    EXPECT_EQ(gltf["asset"]["extras"]["seed"], 7);
    EXPECT_NE(ReadWholeFile(folder + "c.glb").find(R"("extras":{"definition":"2\n90\n10\nF\nF=F[+F]\n@\n","seed":7})"),
              std::string::npos);

    // Layer colours: OBJ materials, PLY vertex colours as bytes.
    Assimp::Importer importer;
    const aiScene* obj = ReadScene(importer, folder + "c.obj");
    ASSERT_NE(obj, nullptr);
    std::map<std::string, std::array<long, 3>> diffuse;
    for (unsigned m = 0; m < obj->mNumMaterials; ++m) {
        aiString name;
        aiColor4D c;
        obj->mMaterials[m]->Get(AI_MATKEY_NAME, name);
        if (obj->mMaterials[m]->Get(AI_MATKEY_COLOR_DIFFUSE, c) == AI_SUCCESS)
            diffuse[name.C_Str()] = {std::lround(c.r * 255), std::lround(c.g * 255), std::lround(c.b * 255)};
    }
    EXPECT_EQ(diffuse["olive"], (std::array<long, 3>{128, 128, 0}));
    EXPECT_EQ(diffuse["green"], (std::array<long, 3>{0, 128, 0}));
    const auto pyramids = GenerateSample(SampleModels[2]); // objects of 5 vertices on four layers
    ExportMesh(*pyramids, folder + "p.ply", {});
    const aiScene* ply = ReadScene(importer, folder + "p.ply");
    ASSERT_NE(ply, nullptr);
    std::map<std::array<long, 3>, unsigned> perColour, expected;
    for (unsigned v = 0; v < ply->mMeshes[0]->mNumVertices; ++v) {
        const aiColor4D c = ply->mMeshes[0]->mColors[0][v];
        ++perColour[{std::lround(c.r * 255), std::lround(c.g * 255), std::lround(c.b * 255)}];
    }
    for (int k = 1; k <= pyramids->ObjectCount; ++k) {
        const TColor c = LayerColors[pyramids->Object(k).ColorIndex];
        expected[{c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF}] += 5;
    }
    EXPECT_EQ(perColour, expected);

    // Pictures: copied beside OBJ and glTF, carried inside GLB.
    const std::string textures = std::string(VERDEL_DATA) + "/textures/";
    EXPECT_EQ(ReadWholeFile(folder + "Text01.jpg"), ReadWholeFile(textures + "Text01.jpg"));
    EXPECT_EQ(ReadWholeFile(folder + "Text08.jpg"), ReadWholeFile(textures + "Text08.jpg"));
    EXPECT_FALSE(fs::exists(folder + "Text02.jpg"));
    EXPECT_NE(ReadWholeFile(folder + "c.mtl").find("map_Kd Text08.jpg\n"), std::string::npos);
    EXPECT_EQ(gltf["images"], nlohmann::json::parse(R"([{"uri":"Text01.jpg"},{"uri":"Text08.jpg"}])"));
    const aiScene* glb = ReadScene(importer, folder + "c.glb");
    ASSERT_NE(glb, nullptr);
    ASSERT_EQ(glb->mNumTextures, 2u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(glb->mTextures[1]->pcData), glb->mTextures[1]->mWidth),
              ReadWholeFile(textures + "Text08.jpg"));

    // A picture that cannot be read, or one glTF cannot hold, leaves its material
    // untextured with a warning; an untextured glTF material shows its colour.
    TExportInfo info = SampleInfo();
    info.LayerTextures[8] = folder + "no-such-picture.jpg";
    info.LayerTextures[1] = folder + "marble.bmp"; // readable, but no picture glTF takes
    std::ofstream(folder + "marble.bmp") << "BM";
    EXPECT_EQ(ExportMesh(*store, folder + "m.obj", info),
              std::vector<std::string>{folder +
                                       "no-such-picture.jpg: cannot be read; the olive material is written without its texture"});
    EXPECT_EQ(ReadWholeFile(folder + "m.mtl").find("map_Kd Text08"), std::string::npos);
    EXPECT_NE(ReadWholeFile(folder + "m.mtl").find("map_Kd marble.bmp"), std::string::npos); // OBJ takes any picture
    const std::vector<std::string> glbWarnings = ExportMesh(*store, folder + "m.gltf", info);
    ASSERT_EQ(glbWarnings.size(), 2u);
    EXPECT_EQ(glbWarnings[0], folder + "marble.bmp: glTF holds only JPEG and PNG pictures; the green material is "
                                       "written without its texture");
    const nlohmann::json untextured = nlohmann::json::parse(ReadWholeFile(folder + "m.gltf"));
    ASSERT_EQ(untextured["materials"].size(), 2u);
    EXPECT_EQ(untextured["materials"][1]["name"], "olive");
    EXPECT_EQ(untextured["materials"][1]["pbrMetallicRoughness"]["baseColorFactor"],
              nlohmann::json({128 / 255.0f, 128 / 255.0f, 0.0f, 1.0f}));
    EXPECT_FALSE(gltf["materials"][1]["pbrMetallicRoughness"].contains("baseColorFactor")) << "the picture, untinted";
    EXPECT_TRUE(untextured["materials"][1]["doubleSided"]);
}

TEST(MeshExport, FailuresAreErrorsNamingTheFileAndLeaveNoFileBehind)
{
    const std::string folder = MeshFolder("unwritable");
    fs::create_directory(folder + "taken.obj"); // a folder where the file should go
    fs::create_directory(folder + "model.mtl"); // ... or its material file
    const auto store = GenerateSample(SampleModels[0]);
    TStoreBuilder broken; // the first broken object ends the writing
    broken.AddSquare(1).AddSquare(1);
    broken.Store->Object(2).ModelFaces->CornerIndex[1] = 0;
    const auto empty = std::make_unique<TFaceStore>();
    const std::string corner = ": object 2: corner index 0";
    const struct {
        const TFaceStore& Store;
        std::string File, Start, End; // the error's start and end
    } cases[] = {
        {*store, folder + "taken.obj", folder + "taken.obj: ", ""},
        {*store, folder + "model.obj", folder + "model.mtl: ", ""},
        {*empty, "/no/such/folder/x.glb", "", "/no/such/folder/x.glb: the folder /no/such/folder does not exist"},
        {*empty, folder + "x.dxf", "", "x.dxf: unknown mesh format; the name must end in .obj, .stl, .ply, .gltf or .glb"},
        {*broken.Store, folder + "broken.obj", folder + "broken.obj", corner},
        {*broken.Store, folder + "broken.stl", folder + "broken.stl", corner},
        {*broken.Store, folder + "broken.ply", folder + "broken.ply", corner},
        {*broken.Store, folder + "broken.gltf", folder + "broken.gltf", corner},
        {*broken.Store, folder + "broken.glb", folder + "broken.glb", corner},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.File);
        const std::string what = ErrorOf([&] { ExportMesh(c.Store, c.File, SampleInfo()); });
        EXPECT_EQ(what.rfind(c.Start, 0), 0u) << what;
        EXPECT_TRUE(what.ends_with(c.End)) << what;
        EXPECT_TRUE(fs::is_directory(c.File) || !fs::exists(c.File)) << "abandoned, not left half-written";
    }
    EXPECT_EQ(MeshFormatOf("TREE.GLB"), TMeshFormat::mfGlb);
    EXPECT_EQ(MeshFormatOf("tree.Stl"), TMeshFormat::mfStl);
    EXPECT_FALSE(MeshFormatOf("tree.obj.txt"));

    // A stream that fails is a write error; the same store written whole is an STL of 12 triangles.
    TStoreBuilder block;
    block.AddBlock(1);
    std::ostringstream failing, stl;
    failing.setstate(std::ios::badbit);
    EXPECT_EQ(ErrorOf([&] { WriteStl(*block.Store, failing, "x"); }), "write error");
    EXPECT_EQ(ErrorOf([&] { WritePly(*block.Store, failing, {}); }), "write error");
    WriteStl(*block.Store, stl, "block");
    EXPECT_EQ(stl.str().size(), 84u + 12u * 50u);
}
