#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <tuple>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "engine/generation.h"
#include "formats/mesh_export.h"
#include "support/run_cli.h"
#include "support/scripted_prompt.h"

using namespace verdel;
using namespace verdel::test;

namespace {

namespace fs = std::filesystem;

struct TModel {
    const char* File;
    TSolidSettings Settings;
};

// Tubes on one layer; cones and tubes on two; pyramids (stored triangles and
// a square) on four; blocks on six; flat polygons on four.
const std::vector<TModel> Models = {
    {"hilbert3d.vd", {}},
    {"cones.vd", {true, true, false, false}},
    {"pyramids.vd", {true, false, false, true}},
    {"blocks.vd", {false, false, true, false}},
    {"flower.vd", {}},
};

std::unique_ptr<TFaceStore> Generate(const TModel& model)
{
    auto store = std::make_unique<TFaceStore>();
    auto state = std::make_unique<TDefinitionState>();
    TScriptedPrompt prompt;
    prompt.Answers = {TAnswer::Yes};
    TRandomSource random;
    GenerateModel(ReadLinesFromFile(Sample(model.File)), model.Settings, prompt, *state, *store, random);
    return store;
}

// What the store holds, counted as each format stores it.
struct TCounts {
    unsigned Objects = 0;
    unsigned Faces = 0;                       // as stored: quadrilaterals and triangles
    unsigned Triangles = 0;                   // quadrilaterals split in two
    unsigned Corners = 0;                     // 3 per triangle, 4 per quadrilateral
    unsigned UsedVertices = 0;                // distinct vertex numbers per object
    std::map<int, unsigned> VerticesPerLayer; // distinct (vertex, corner place) per layer, as glTF keeps them
    std::set<std::string> Layers;
};

TCounts Count(const TFaceStore& store)
{
    TCounts counts;
    std::map<int, std::set<std::tuple<float, float, float, int>>> layerCorners;
    for (int k = 1; k <= store.ObjectCount; ++k) {
        const TFaceObject& object = store.Object(k);
        ++counts.Objects;
        counts.Layers.insert(LayerColorName(object.ColorIndex));
        std::set<int> used;
        for (const TFaceNode* face = object.ModelFaces; face; face = face->Next) {
            const int corners = face->CornerIndex[3] == face->CornerIndex[2] ? 3 : 4;
            ++counts.Faces;
            counts.Triangles += corners - 2;
            counts.Corners += static_cast<unsigned>(corners);
            for (int i = 0; i < corners; ++i) {
                used.insert(face->CornerIndex[i]);
                const TVector& c = face->Corners[i];
                layerCorners[object.ColorIndex].insert({c.X, c.Y, c.Z, i});
            }
        }
        counts.UsedVertices += static_cast<unsigned>(used.size());
    }
    for (const auto& [layer, corners] : layerCorners)
        counts.VerticesPerLayer[layer] = static_cast<unsigned>(corners.size());
    return counts;
}

struct TTotals {
    unsigned Meshes = 0, Vertices = 0, Faces = 0;
    bool TexCoords = true, Colors = true;
    std::set<std::string> Materials;
};

TTotals Totals(const aiScene& scene)
{
    TTotals totals;
    totals.Meshes = scene.mNumMeshes;
    for (unsigned m = 0; m < scene.mNumMeshes; ++m) {
        totals.Vertices += scene.mMeshes[m]->mNumVertices;
        totals.Faces += scene.mMeshes[m]->mNumFaces;
        totals.TexCoords = totals.TexCoords && scene.mMeshes[m]->HasTextureCoords(0);
        totals.Colors = totals.Colors && scene.mMeshes[m]->HasVertexColors(0);
    }
    for (unsigned m = 0; m < scene.mNumMaterials; ++m) {
        aiString name;
        scene.mMaterials[m]->Get(AI_MATKEY_NAME, name);
        totals.Materials.insert(name.C_Str());
    }
    return totals;
}

// A fresh folder of this test's own.
std::string Folder(const std::string& name)
{
    const fs::path folder = fs::path(::testing::TempDir()) / ("verdel-export-" + name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder.string() + "/";
}

TExportInfo Info()
{
    TExportInfo info;
    info.TexturesFolder = std::string(VERDEL_DATA) + "/textures";
    info.Definition = "2\n90\n10\nF\nF=F[+F]\n@\n";
    info.Seed = 7;
    return info;
}

bool Includes(const std::set<std::string>& all, const std::set<std::string>& part)
{
    return std::includes(all.begin(), all.end(), part.begin(), part.end());
}

} // namespace

TEST(MeshExport, EveryFormatReadsBackWithTheStoresMeshesVerticesAndFaces)
{
    const std::string folder = Folder("round-trip");
    for (const TModel& model : Models) {
        SCOPED_TRACE(model.File);
        const auto store = Generate(model);
        const TCounts counts = Count(*store);
        ASSERT_GT(counts.Objects, 0u);
        unsigned gltfVertices = 0;
        for (const auto& [layer, vertices] : counts.VerticesPerLayer) gltfVertices += vertices;

        struct TExpected {
            const char* Extension;
            unsigned Meshes, Vertices, Faces;
            bool TexCoords, Colors;
        };
        const std::vector<TExpected> expected = {
            {".obj", counts.Objects, counts.Corners, counts.Faces, true, false},
            {".ply", 1, counts.UsedVertices, counts.Faces, false, true},
            {".stl", 1, 3 * counts.Triangles, counts.Triangles, false, false},
            {".gltf", static_cast<unsigned>(counts.Layers.size()), gltfVertices, counts.Triangles, true, false},
            {".glb", static_cast<unsigned>(counts.Layers.size()), gltfVertices, counts.Triangles, true, false},
        };
        for (const TExpected& e : expected) {
            SCOPED_TRACE(e.Extension);
            const std::string file = folder + "model" + e.Extension;
            EXPECT_TRUE(ExportMesh(*store, file, Info()).empty());
            Assimp::Importer importer;
            const aiScene* scene = importer.ReadFile(file, aiProcess_ValidateDataStructure);
            ASSERT_NE(scene, nullptr) << importer.GetErrorString();
            const TTotals totals = Totals(*scene);
            EXPECT_EQ(totals.Meshes, e.Meshes);
            if (e.TexCoords && e.Meshes != counts.Objects) {
                // Assimp's glTF writer also joins vertices of a layer that coincide within its tolerance.
                EXPECT_LE(totals.Vertices, e.Vertices);
                EXPECT_GE(totals.Vertices, e.Vertices - e.Vertices / 100);
            } else {
                EXPECT_EQ(totals.Vertices, e.Vertices);
            }
            EXPECT_EQ(totals.Faces, e.Faces);
            EXPECT_TRUE(totals.TexCoords || !e.TexCoords);
            EXPECT_TRUE(totals.Colors || !e.Colors);
            EXPECT_TRUE(Includes(totals.Materials, counts.Layers) || !e.TexCoords);
        }
    }
}

TEST(MeshExport, GltfSplitsEachTubeVertexInTwoForItsTwoTexturePlaces)
{
    const std::string folder = Folder("tubes");
    const auto store = Generate(Models[0]);
    ASSERT_EQ(store->ObjectCount, 63);
    ExportMesh(*store, folder + "h.glb", Info());
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(folder + "h.glb", 0);
    ASSERT_NE(scene, nullptr);
    // 32 vertices and 16 sides a tube: each vertex is a right corner of one side and a left corner of the next.
    EXPECT_EQ(Totals(*scene).Vertices, 63u * 64u);
    EXPECT_EQ(Totals(*scene).Faces, 63u * 32u);
}

TEST(MeshExport, CoordinatesAndLayerColoursAreTheModelsOwn)
{
    const std::string folder = Folder("colours");
    const auto store = Generate(Models[2]);
    ExportMesh(*store, folder + "p.obj", Info());
    ExportMesh(*store, folder + "p.ply", Info());

    Assimp::Importer objImporter;
    const aiScene* obj = objImporter.ReadFile(folder + "p.obj", 0);
    ASSERT_NE(obj, nullptr);
    const TVector corner = store->Object(1).ModelFaces->Corners[0];
    EXPECT_EQ(obj->mMeshes[0]->mVertices[obj->mMeshes[0]->mFaces[0].mIndices[0]],
              aiVector3D(corner.X, corner.Y, corner.Z));

    // Every PLY vertex carries its layer's colour as bytes.
    Assimp::Importer plyImporter;
    const aiScene* ply = plyImporter.ReadFile(folder + "p.ply", 0);
    ASSERT_NE(ply, nullptr);
    std::map<std::tuple<int, int, int>, unsigned> perColor;
    const aiMesh& mesh = *ply->mMeshes[0];
    for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
        const aiColor4D c = mesh.mColors[0][v];
        ++perColor[{std::lround(c.r * 255), std::lround(c.g * 255), std::lround(c.b * 255)}];
    }
    std::map<std::tuple<int, int, int>, unsigned> expected;
    for (int k = 1; k <= store->ObjectCount; ++k) {
        const TColor c = LayerColors[store->Object(k).ColorIndex];
        expected[{c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF}] += 5; // a pyramid has 5 vertices
    }
    EXPECT_EQ(perColor, expected);
}

TEST(MeshExport, ThePicturesTopLeftShowsAtTheLastCornerInObjAndGltf)
{
    const std::string folder = Folder("orientation");
    const auto store = std::make_unique<TFaceStore>();
    TMeshBuilder builder(*store);
    builder.Reset();
    const TVector corners[4] = {{1, 1, 0}, {1, 0, 0}, {0, 0, 0}, {0, 1, 0}};
    for (int i = 1; i <= 4; ++i) builder.MeshVertex(i) = corners[i - 1];
    builder.MeshFace(1) = {1, 2, 3, 4};
    builder.AddMesh(4, 1, 1);
    TExportInfo info;
    ExportMesh(*store, folder + "q.obj", info);
    ExportMesh(*store, folder + "q.gltf", info);

    // OBJ counts v upwards from the picture's bottom: P0 top-right (1, 1) ... P3 top-left (0, 1).
    const std::string obj = ReadWholeFile(folder + "q.obj");
    EXPECT_NE(obj.find("vt 1 1 0\nvt 1 0 0\nvt 0 0 0\nvt 0 1 0\n"), std::string::npos);
    EXPECT_NE(obj.find("f  1/1/1 2/2/1 3/3/1 4/4/1\n"), std::string::npos);
    // glTF counts v downwards from the top: P0 (1, 0), P1 (1, 1), P2 (0, 1), P3 (0, 0).
    const std::string bin = ReadWholeFile(folder + "q.bin");
    const float uv[8] = {1, 0, 1, 1, 0, 1, 0, 0};
    EXPECT_NE(bin.find(std::string(reinterpret_cast<const char*>(uv), sizeof uv)), std::string::npos);
}

TEST(MeshExport, TexturesAreCopiedBesideOrCarriedInsideAndNotesAreKept)
{
    const std::string folder = Folder("textures");
    const auto store = Generate(Models[1]); // layers 1 and 8
    for (const char* extension : {".obj", ".gltf", ".glb", ".ply", ".stl"})
        EXPECT_TRUE(ExportMesh(*store, folder + "c" + extension, Info()).empty());
    EXPECT_TRUE(fs::exists(folder + "Text01.jpg"));
    EXPECT_TRUE(fs::exists(folder + "Text08.jpg"));
    EXPECT_FALSE(fs::exists(folder + "Text02.jpg"));

    const std::string mtl = ReadWholeFile(folder + "c.mtl");
    EXPECT_NE(mtl.find("newmtl olive\nKd 0.501960814 0.501960814 0\n"), std::string::npos);
    EXPECT_NE(mtl.find("map_Kd Text08.jpg"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(folder + "c.obj").rfind("# Made by Verdel\n# Seed: 7\n# Definition:\n# 2\n# 90\n# 10\n", 0),
              0u);
    EXPECT_NE(ReadWholeFile(folder + "c.ply").find("comment Made by Verdel\ncomment Seed: 7\n"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(folder + "c.stl").substr(0, 22), "Made by Verdel, seed 7");
    const std::string extras = R"("generator":"Verdel","extras":{"definition":"2\n90\n10\nF\nF=F[+F]\n@\n","seed":7})";
    EXPECT_NE(ReadWholeFile(folder + "c.glb").find(extras), std::string::npos);
    EXPECT_NE(ReadWholeFile(folder + "c.gltf").find(R"("generator": "Verdel")"), std::string::npos);

    Assimp::Importer importer;
    const aiScene* glb = importer.ReadFile(folder + "c.glb", 0);
    ASSERT_NE(glb, nullptr);
    EXPECT_EQ(glb->mNumTextures, 2u);
}

TEST(MeshExport, AMissingPictureLeavesItsMaterialUntexturedWithAWarning)
{
    const std::string folder = Folder("missing-picture");
    const auto store = Generate(Models[1]);
    TExportInfo info = Info();
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
    EXPECT_NE(glbWarnings[0].find("glTF holds only JPEG and PNG pictures; the green material"), std::string::npos);
}

TEST(MeshExport, AnEmptyStoreWritesValidEmptyFiles)
{
    const std::string folder = Folder("empty");
    const auto store = std::make_unique<TFaceStore>();
    const TExportInfo info = Info();
    for (const char* extension : {".obj", ".stl", ".ply", ".gltf", ".glb"}) {
        SCOPED_TRACE(extension);
        EXPECT_TRUE(ExportMesh(*store, folder + "e" + extension, info).empty());
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
    for (const char* extension : {".gltf", ".glb"}) {
        SCOPED_TRACE(extension);
        EXPECT_EQ(ReadWholeFile(folder + "e" + extension).find("buffers"), std::string::npos);
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFile(folder + "e" + extension, aiProcess_ValidateDataStructure);
        ASSERT_NE(scene, nullptr) << importer.GetErrorString();
        EXPECT_EQ(scene->mNumMeshes, 0u);
    }
}

TEST(MeshExport, BadNamesAndMissingFoldersAreReportedNotCrashed)
{
    const auto store = std::make_unique<TFaceStore>();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/no/such/folder/x.obj", "/no/such/folder/x.obj: the folder /no/such/folder does not exist"},
        {"/no/such/folder/x.glb", "/no/such/folder/x.glb: the folder /no/such/folder does not exist"},
        {Folder("names") + "x.dxf", "x.dxf: unknown mesh format; the name must end in .obj, .stl, .ply, .gltf or .glb"},
    };
    for (const auto& [file, message] : cases) {
        SCOPED_TRACE(file);
        try {
            ExportMesh(*store, file, {});
            ADD_FAILURE() << "no error";
        } catch (const std::runtime_error& error) {
            const std::string what = error.what();
            EXPECT_EQ(what.substr(what.size() - message.size()), message);
        }
    }
    EXPECT_EQ(MeshFormatOf("TREE.GLB"), TMeshFormat::mfGlb);
    EXPECT_EQ(MeshFormatOf("tree.Gltf"), TMeshFormat::mfGltf);
    EXPECT_FALSE(MeshFormatOf("tree.obj.txt"));
}

TEST(MeshExport, AFileThatCannotBeCreatedIsAnErrorNamingIt)
{
    const std::string folder = Folder("unwritable");
    fs::create_directory(folder + "taken.obj"); // a folder where the file should go
    const auto store = Generate(Models[0]);
    try {
        ExportMesh(*store, folder + "taken.obj", Info());
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()).rfind(folder + "taken.obj", 0), 0u) << error.what();
    }
}
