// Foreign mesh files read through Assimp into a face store.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <assimp/scene.h>

#include "formats/mesh_export.h"
#include "formats/mesh_files.h"
#include "formats/model_reader.h"
#include "formats/store_builder.h"

using namespace verdel;
using namespace verdel::test;

namespace {

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

int LargestObject(const TFaceStore& store)
{
    int largest = 0;
    for (int k = 1; k <= store.ObjectCount; ++k) largest = std::max(largest, store.Object(k).VertexCount);
    return largest;
}

// An in-memory scene of one mesh holding Faces over Positions, with one material.
struct TSceneBuilder {
    aiScene Scene;

    TSceneBuilder(const std::vector<aiVector3D>& positions, const std::vector<std::vector<unsigned>>& faces,
                  const aiColor4D& diffuse, const char* materialName = "paint")
    {
        auto* mesh = new aiMesh;
        mesh->mNumVertices = static_cast<unsigned>(positions.size());
        mesh->mVertices = new aiVector3D[positions.size()];
        std::copy(positions.begin(), positions.end(), mesh->mVertices);
        mesh->mNumFaces = static_cast<unsigned>(faces.size());
        mesh->mFaces = new aiFace[faces.size()];
        for (size_t f = 0; f < faces.size(); ++f) {
            mesh->mFaces[f].mNumIndices = static_cast<unsigned>(faces[f].size());
            mesh->mFaces[f].mIndices = new unsigned[faces[f].size()];
            std::copy(faces[f].begin(), faces[f].end(), mesh->mFaces[f].mIndices);
        }
        Scene.mNumMeshes = 1;
        Scene.mMeshes = new aiMesh* [1] { mesh };
        auto* material = new aiMaterial;
        const aiString name(materialName);
        material->AddProperty(&name, AI_MATKEY_NAME);
        material->AddProperty(&diffuse, 1, AI_MATKEY_COLOR_DIFFUSE);
        Scene.mNumMaterials = 1;
        Scene.mMaterials = new aiMaterial* [1] { material };
        Scene.mRootNode = new aiNode("root");
        Scene.mRootNode->mNumMeshes = 1;
        Scene.mRootNode->mMeshes = new unsigned[1]{0};
    }
};

// The corner indices of every face of object k.
std::vector<std::array<int, 4>> FacesOf(const TFaceStore& store, int k)
{
    std::vector<std::array<int, 4>> faces;
    for (const TFaceNode* face = store.Object(k).ModelFaces; face; face = face->Next)
        faces.push_back({face->CornerIndex[0], face->CornerIndex[1], face->CornerIndex[2], face->CornerIndex[3]});
    return faces;
}

} // namespace

TEST(ModelReader, VerdelsOwnFilesReadBackWithTheirGeometryAndLayers)
{
    const std::string folder = MeshFolder("import-round-trip");
    for (const TSampleModel& model : SampleModels) {
        SCOPED_TRACE(model.File);
        const auto original = GenerateSample(model);
        const TStoreCounts counts = CountStore(*original);
        // STL keeps no colour: Assimp gives it a white material, nearest to silver.
        const std::map<int, int> stlLayers = {{12, static_cast<int>(counts.Triangles)}};
        struct TCase {
            const char* Extension;
            std::map<int, int> Layers;
            unsigned Faces;
            const char* Name = "m";
        };
        const std::vector<TCase> cases = {
            {".stl", stlLayers, counts.Triangles},
            {".ply", TrianglesPerLayer(*original), counts.Faces},
            {".obj", TrianglesPerLayer(*original), counts.Faces},
            {".glb", TrianglesPerLayer(*original), counts.Triangles},
            // Its buffer's URI is percent-encoded ("a%20b%20%C3%A4.bin").
            {".gltf", TrianglesPerLayer(*original), counts.Triangles, "a b \u00e4"},
        };
        for (const TCase& c : cases) {
            SCOPED_TRACE(c.Extension);
            const std::string file = folder + c.Name + c.Extension;
            ExportMesh(*original, file, SampleInfo());
            auto store = std::make_unique<TFaceStore>();
            ReadForeignModelFile(*store, file);
            const TStoreCounts read = CountStore(*store);
            EXPECT_EQ(read.Faces, c.Faces);
            if (std::string(c.Extension) == ".obj") {
                EXPECT_TRUE(NearlyEqual(read.Positions, counts.Positions));
            } else {
                EXPECT_EQ(read.Positions, counts.Positions);
            }
            EXPECT_EQ(TrianglesPerLayer(*store), c.Layers);
            EXPECT_LE(LargestObject(*store), MaxImportedVertices);
            for (const auto& [layer, triangles] : c.Layers) EXPECT_TRUE(store->LayerUsed[layer]);
            EXPECT_EQ(store->MaxX, original->MaxX);
            EXPECT_EQ(store->MinZ, original->MinZ);
        }
    }
}

TEST(ModelReader, AForeignObjWithAFiveThousandVertexMeshIsSplitIntoObjectsOfAtMost500Vertices)
{
    const std::string folder = MeshFolder("import-grid");
    // A grid of 100 x 50 vertices: 99 x 49 quadrilaterals in one mesh.
    std::ofstream obj(folder + "grid.obj");
    obj << "# a foreign file\no grid\n";
    for (int row = 0; row < 50; ++row)
        for (int column = 0; column < 100; ++column) obj << "v " << column << ' ' << row << " 0\n";
    for (int row = 0; row < 49; ++row)
        for (int column = 0; column < 99; ++column) {
            const int v = row * 100 + column + 1;
            obj << "f " << v << ' ' << v + 1 << ' ' << v + 101 << ' ' << v + 100 << '\n';
        }
    obj.close();
    auto store = std::make_unique<TFaceStore>();
    ReadForeignModelFile(*store, folder + "grid.obj");
    const TStoreCounts counts = CountStore(*store);
    EXPECT_EQ(counts.Faces, 99u * 49u);
    EXPECT_EQ(counts.Corners, 4u * 99u * 49u); // every face stays a quadrilateral
    EXPECT_EQ(counts.Positions.size(), 5000u);
    EXPECT_GE(store->ObjectCount, 5000 / MaxImportedVertices);
    EXPECT_LE(LargestObject(*store), MaxImportedVertices);
    for (int k = 1; k <= store->ObjectCount; ++k) {
        const TFaceObject& object = store->Object(k);
        SCOPED_TRACE(k);
        EXPECT_EQ(object.FaceCount, static_cast<int>(FacesOf(*store, k).size()));
        for (const auto& face : FacesOf(*store, k))
            for (int index : face) EXPECT_TRUE(index >= 1 && index <= object.VertexCount);
    }
    EXPECT_EQ(store->MaxX, 99);
    EXPECT_EQ(store->MaxY, 49);
}

TEST(ModelReader, PolygonsBecomeQuadrilateralsAndTrianglesAroundTheirFirstCorner)
{
    const std::vector<aiVector3D> ring = {{1, 0, 0}, {2, 0, 0}, {3, 1, 0}, {2, 2, 0}, {1, 2, 0}, {0, 1, 0}};
    struct TCase {
        std::vector<unsigned> Polygon;
        std::vector<std::array<int, 4>> Faces; // object-local corner numbers
    };
    const std::vector<TCase> cases = {
        {{0, 1, 2}, {{1, 2, 3, 3}}},
        {{0, 1, 2, 3}, {{1, 2, 3, 4}}},
        {{0, 1, 2, 3, 4}, {{1, 2, 3, 4}, {1, 4, 5, 5}}},
        {{0, 1, 2, 3, 4, 5}, {{1, 2, 3, 4}, {1, 4, 5, 6}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Polygon.size());
        // A line and a point around the polygon are left out.
        TSceneBuilder scene(ring, {{0, 1}, c.Polygon, {4}}, {1, 0, 0, 1});
        auto store = std::make_unique<TFaceStore>();
        StoreScene(scene.Scene, *store, "ring.obj");
        ASSERT_EQ(store->ObjectCount, 1);
        EXPECT_EQ(FacesOf(*store, 1), c.Faces);
        EXPECT_EQ(store->Object(1).VertexCount, static_cast<int>(c.Polygon.size()));
        EXPECT_EQ(store->Object(1).ModelFaces->Corners[1].X, 2.0f);
        EXPECT_TRUE(store->Object(1).SortFaces) << "a mesh's faces come in no drawing order";
    }
}

TEST(ModelReader, LayersComeFromTheMaterialsNameOrItsNearestColour)
{
    struct TCase {
        aiColor4D Diffuse;
        const char* Name;
        int Layer;
    };
    const std::vector<TCase> cases = {
        {{0, 0, 1, 1}, "paint", 5},          // blue
        {{0.9f, 0.1f, 0.1f, 1}, "brick", 7}, // nearest red
        {{1, 1, 1, 1}, "white", 12},         // nearest silver
        {{0.6f, 0.6f, 0.6f, 1}, "", 11},     // Assimp's default grey: gray (128) before silver (192)
        {{1, 1, 1, 1}, "olive", 8},          // a layer colour's name wins, as in Verdel's textured glTF
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Layer);
        TSceneBuilder scene({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}}, c.Diffuse, c.Name);
        auto store = std::make_unique<TFaceStore>();
        StoreScene(scene.Scene, *store, "x.obj");
        EXPECT_EQ(store->Object(1).ColorIndex, c.Layer);
        EXPECT_EQ(store->Object(1).Color, LayerColors[static_cast<size_t>(c.Layer)]);
        EXPECT_TRUE(store->LayerUsed[static_cast<size_t>(c.Layer)]);
    }
    // Every layer colour is nearest to itself.
    for (int layer = 1; layer <= LayerCount; ++layer) {
        const auto [r, g, b] = LayerRGB(layer);
        EXPECT_EQ(NearestLayer(r, g, b), layer);
    }
}

TEST(ModelReader, EachNodePlacesItsMeshes)
{
    TSceneBuilder scene({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}}, {0, 1, 0, 1});
    aiNode& root = *scene.Scene.mRootNode;
    root.mNumMeshes = 0;
    root.mNumChildren = 2;
    root.mChildren = new aiNode*[2];
    for (unsigned c = 0; c < 2; ++c) {
        auto* node = root.mChildren[c] = new aiNode("copy");
        node->mParent = &root;
        node->mNumMeshes = 1;
        node->mMeshes = new unsigned[1]{0};
        aiMatrix4x4::Translation(aiVector3D(10.0f * (c + 1), 0, 0), node->mTransformation);
    }
    root.mTransformation = aiMatrix4x4(2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1); // doubles every child
    auto store = std::make_unique<TFaceStore>();
    StoreScene(scene.Scene, *store, "nodes.dae");
    ASSERT_EQ(store->ObjectCount, 2);
    EXPECT_EQ(store->Object(1).ModelFaces->Corners[1].X, 22.0f); // (1 + 10) * 2
    EXPECT_EQ(store->Object(2).ModelFaces->Corners[1].X, 42.0f); // (1 + 20) * 2
    EXPECT_EQ(store->Object(2).ModelFaces->Corners[2].Y, 2.0f);
    EXPECT_EQ(store->MaxX, 42.0f);
    EXPECT_EQ(store->MinX, 0.0f); // the bounds always hold the origin
}

TEST(ModelReader, FilesThatCannotBeReadNameTheFileAndLeaveTheStoreEmpty)
{
    const std::string folder = MeshFolder("import-broken");
    std::ofstream(folder + "broken.glb", std::ios::binary) << "glTF\x02\0\0\0 truncated";
    std::ofstream(folder + "broken.ply", std::ios::binary)
        << "ply\nformat binary_little_endian 1.0\nelement vertex 9\n";
    std::ofstream(folder + "lines.obj") << "v 0 0 0\nv 1 0 0\nl 1 2\n";
    // A PLY header without its end_header line once kept Assimp's reader going for ever.
    std::ofstream(folder + "unended.ply") << "ply\nformat ascii 1.0\nelement vertex 3\n";
    for (const char* name : {"broken.glb", "broken.ply", "lines.obj", "unended.ply"}) {
        SCOPED_TRACE(name);
        TStoreBuilder store;
        store.AddBlock(1);
        try {
            ReadForeignModelFile(*store.Store, folder + name);
            ADD_FAILURE() << "no error";
        } catch (const EModelError& error) {
            EXPECT_EQ(std::string(error.what()).rfind(folder + name + ": ", 0), 0u) << error.what();
        }
        EXPECT_EQ(store.Store->ObjectCount, 0);
        EXPECT_FALSE(store.Store->LayerUsed[1]);
    }
    // A file that is not there is no rejected content, but it is named too.
    auto store = std::make_unique<TFaceStore>();
    try {
        ReadModelFile(*store, folder + "missing.stl");
        ADD_FAILURE() << "no error";
    } catch (const EModelError&) {
        ADD_FAILURE() << "a missing file is not rejected content";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()), folder + "missing.stl: No such file or directory");
    }
}

TEST(ModelReader, ModelFilesAreKnownByTheirExtension)
{
    const std::vector<std::string> patterns = ForeignModelPatterns();
    for (const char* pattern : {"*.obj", "*.stl", "*.ply", "*.gltf", "*.glb", "*.3ds", "*.fbx", "*.dae"})
        EXPECT_NE(std::find(patterns.begin(), patterns.end(), pattern), patterns.end()) << pattern;
    EXPECT_EQ(std::find(patterns.begin(), patterns.end(), "*.dxf"), patterns.end());
    EXPECT_TRUE(std::is_sorted(patterns.begin(), patterns.end()));
    struct TCase {
        const char* Name;
        bool Foreign, Model;
    };
    for (const TCase& c : std::vector<TCase>{{"tree.OBJ", true, true},
                                             {"/a/b.c/tree.fbx", true, true},
                                             {"tree.dxf", false, true},
                                             {"tree.ase", false, true}, // read, refused as an unknown format
                                             {"tree.vd", false, false},
                                             {"tree", false, false},
                                             {"/a/b.obj/tree", false, false}}) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(IsForeignModel(c.Name), c.Foreign);
        EXPECT_EQ(IsModelFile(c.Name), c.Model);
    }
}

TEST(ModelReader, ReplaceModelMovesTheWholeModelAndKeepsTheTranslation)
{
    TStoreBuilder source, target;
    source.AddBlock(4).AddSquare(2, 5);
    ComputeBounds(*source.Store);
    target.AddPyramid(9);
    target.Store->TranslateX = 3;
    const TFaceNode* firstFace = source.Store->Object(1).ModelFaces;
    ReplaceModel(*target.Store, *source.Store);
    EXPECT_EQ(target.Store->ObjectCount, 2);
    EXPECT_EQ(target.Store->Object(1).ModelFaces, firstFace); // the faces themselves, not copies
    EXPECT_TRUE(target.Store->LayerUsed[4]);
    EXPECT_FALSE(target.Store->LayerUsed[9]);
    EXPECT_EQ(target.Store->MaxZ, 5.0f);
    EXPECT_EQ(target.Store->TranslateX, 3.0f);
    EXPECT_EQ(source.Store->ObjectCount, 0);
    EXPECT_FALSE(source.Store->LayerUsed[4]);
}
