// Foreign mesh files read through Assimp into a face store; Verdel's own
// files read back in test_mesh_export.cpp.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <assimp/scene.h>

#include "formats/mesh_files.h"
#include "formats/model_reader.h"
#include "formats/store_builder.h"

using namespace verdel;
using namespace verdel::test;

namespace {

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

// Bad files of every kind are in test_foreign_import.cpp's table, read through the batch tool.
TEST(ModelReader, FilesThatCannotBeReadNameTheFileAndLeaveTheStoreEmpty)
{
    const std::string folder = MeshFolder("import-broken");
    std::ofstream(folder + "broken.ply", std::ios::binary) << "ply\nformat binary_little_endian 1.0\nelement vertex 9\n";
    TStoreBuilder store;
    store.AddBlock(1);
    try {
        ReadModelFile(*store.Store, folder + "broken.ply");
        ADD_FAILURE() << "no error";
    } catch (const EModelError& error) {
        EXPECT_EQ(std::string(error.what()).rfind(folder + "broken.ply: ", 0), 0u) << error.what();
    }
    EXPECT_EQ(store.Store->ObjectCount, 0);
    EXPECT_FALSE(store.Store->LayerUsed[1]);
    // A file that is not there is no rejected content, but it is named too.
    try {
        ReadModelFile(*store.Store, folder + "missing.stl");
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
