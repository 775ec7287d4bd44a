#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include <assimp/material.h>

#include "formats/mesh_scene.h"
#include "formats/store_builder.h"

using namespace verdel;
using namespace verdel::test;

namespace {

const TSceneLayout SharedLayout{};                                   // the objects' own vertices, quads kept
const TSceneLayout TriangleLayout{true, false, false, false, false}; // quads split, vertices shared
const TSceneLayout UVLayout{false, true, false, false, false};       // texture coordinates per corner
const TSceneLayout CornerLayout{false, true, true, false, false};    // every corner its own vertex

std::vector<std::vector<unsigned>> FaceIndices(const aiMesh& mesh)
{
    std::vector<std::vector<unsigned>> faces;
    for (unsigned f = 0; f < mesh.mNumFaces; ++f)
        faces.emplace_back(mesh.mFaces[f].mIndices, mesh.mFaces[f].mIndices + mesh.mFaces[f].mNumIndices);
    return faces;
}

std::string MaterialName(const aiScene& scene, unsigned m)
{
    aiString name;
    scene.mMaterials[m]->Get(AI_MATKEY_NAME, name);
    return name.C_Str();
}

} // namespace

TEST(MeshScene, SharedVerticesKeepTheObjectsVertexOrderAndItsQuadrilaterals)
{
    TStoreBuilder store;
    store.AddBlock(3);
    const TScenePtr scene = BuildMeshScene(*store.Store, SharedLayout, {});
    ASSERT_EQ(scene->mNumMeshes, 1u);
    const aiMesh& mesh = *scene->mMeshes[0];
    EXPECT_STREQ(mesh.mName.C_Str(), "object1");
    ASSERT_EQ(mesh.mNumVertices, 8u);
    EXPECT_EQ(mesh.mVertices[6], aiVector3D(1, 1, 2)); // vertex 7, unchanged coordinates
    EXPECT_EQ(FaceIndices(mesh)[0], (std::vector<unsigned>{0, 4, 5, 1}));
    EXPECT_EQ(mesh.mPrimitiveTypes, unsigned(aiPrimitiveType_POLYGON));
    EXPECT_EQ(mesh.mNormals, nullptr);
    EXPECT_EQ(mesh.mTextureCoords[0], nullptr);
    EXPECT_EQ(scene->mRootNode->mNumChildren, 0u);
    ASSERT_EQ(scene->mRootNode->mNumMeshes, 1u);
}

TEST(MeshScene, QuadrilateralsSplitAlongTheirFirstDiagonalAndStoredTrianglesStayWhole)
{
    TStoreBuilder store;
    store.AddPyramid(1);
    struct TCase {
        const char* Name;
        TSceneLayout Layout;
        std::vector<std::vector<unsigned>> Faces;
    };
    const std::vector<TCase> cases = {
        {"quads kept", SharedLayout, {{4, 0, 1}, {4, 1, 2}, {4, 2, 3}, {4, 3, 0}, {0, 1, 2, 3}}},
        {"triangles", TriangleLayout, {{4, 0, 1}, {4, 1, 2}, {4, 2, 3}, {4, 3, 0}, {0, 1, 2}, {0, 2, 3}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TScenePtr scene = BuildMeshScene(*store.Store, c.Layout, {});
        EXPECT_EQ(FaceIndices(*scene->mMeshes[0]), c.Faces);
    }
}

TEST(MeshScene, TextureCoordinatesShowThePicturesTopRightAtTheFirstCorner)
{
    TStoreBuilder store;
    store.AddSquare(1);
    const TScenePtr scene = BuildMeshScene(*store.Store, UVLayout, {});
    const aiMesh& mesh = *scene->mMeshes[0];
    ASSERT_NE(mesh.mTextureCoords[0], nullptr);
    EXPECT_EQ(mesh.mNumUVComponents[0], 2u);
    // Assimp counts the second coordinate upwards from the picture's bottom row.
    const aiVector3D expected[4] = {{1, 1, 0}, {1, 0, 0}, {0, 0, 0}, {0, 1, 0}};
    for (unsigned i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(mesh.mTextureCoords[0][mesh.mFaces[0].mIndices[i]], expected[i]);
    }
}

TEST(MeshScene, AVertexSplitsOnlyWhereItsCornersTakeDifferentTextureCoordinates)
{
    TStoreBuilder store;
    store.AddPyramid(1);
    const TScenePtr scene = BuildMeshScene(*store.Store, UVLayout, {});
    const aiMesh& mesh = *scene->mMeshes[0];
    // The apex is the first corner of all four sides: one vertex. Base corners
    // 1 and 4 take three different places among their faces, 2 and 3 two.
    std::set<std::tuple<float, float, float, float, float>> distinct;
    for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
        const aiVector3D p = mesh.mVertices[v], t = mesh.mTextureCoords[0][v];
        distinct.insert({p.x, p.y, p.z, t.x, t.y});
    }
    EXPECT_EQ(distinct.size(), mesh.mNumVertices);
    unsigned apexCopies = 0;
    for (unsigned v = 0; v < mesh.mNumVertices; ++v) apexCopies += mesh.mVertices[v] == aiVector3D(0, 0, 3);
    EXPECT_EQ(apexCopies, 1u);
    EXPECT_EQ(mesh.mNumVertices, 1u + 3u + 2u + 2u + 3u);
}

TEST(MeshScene, FaceNormalsGiveEveryCornerItsOwnVertex)
{
    TStoreBuilder store;
    store.AddBlock(1);
    const TScenePtr scene = BuildMeshScene(*store.Store, CornerLayout, {});
    const aiMesh& mesh = *scene->mMeshes[0];
    EXPECT_EQ(mesh.mNumVertices, 24u);
    ASSERT_NE(mesh.mNormals, nullptr);
    // Face 5 (1, 2, 3, 4) lies in z = 0: (P1 - P0) x (P2 - P0) = (1,0,0) x (1,1,0) = (0,0,1).
    for (unsigned i = 0; i < 4; ++i) EXPECT_EQ(mesh.mNormals[mesh.mFaces[4].mIndices[i]], aiVector3D(0, 0, 1));
    // Face 1 (1, 5, 6, 2): (0,0,2) x (1,0,2) = (0,2,0), normalised.
    EXPECT_EQ(mesh.mNormals[mesh.mFaces[0].mIndices[0]], aiVector3D(0, 1, 0));
}

TEST(MeshScene, LayerMeshesHoldTheirObjectsInOrderWithShiftedIndices)
{
    TStoreBuilder store;
    store.AddSquare(1, 0).AddPyramid(3).AddSquare(1, 5);
    TSceneLayout layout = SharedLayout;
    layout.LayerMeshes = true;
    layout.VertexColors = true;
    const TScenePtr scene = BuildMeshScene(*store.Store, layout, {});
    ASSERT_EQ(scene->mNumMeshes, 2u);
    const aiMesh& green = *scene->mMeshes[0];
    EXPECT_STREQ(green.mName.C_Str(), "green");
    EXPECT_EQ(green.mNumVertices, 8u);
    EXPECT_EQ(FaceIndices(green), (std::vector<std::vector<unsigned>>{{0, 1, 2, 3}, {4, 5, 6, 7}}));
    EXPECT_EQ(green.mVertices[4], aiVector3D(1, 1, 5));
    EXPECT_EQ(green.mColors[0][7], aiColor4D(0, 128 / 255.0f, 0, 1));
    EXPECT_STREQ(scene->mMeshes[1]->mName.C_Str(), "lime");
    EXPECT_EQ(scene->mMeshes[1]->mColors[0][0], aiColor4D(0, 1, 0, 1));
    EXPECT_EQ(scene->mMeshes[1]->mMaterialIndex, 1u);
    ASSERT_EQ(scene->mRootNode->mNumChildren, 2u);
    EXPECT_STREQ(scene->mRootNode->mChildren[1]->mName.C_Str(), "lime");
}

TEST(MeshScene, OneMaterialPerUsedLayerNamedAfterItsColour)
{
    TStoreBuilder store;
    store.AddSquare(12).AddSquare(2).AddSquare(12);
    TSceneTextures textures;
    textures.Paths[12] = "Text12.jpg";
    textures.WhiteBase = true;
    const TScenePtr scene = BuildMeshScene(*store.Store, SharedLayout, textures);
    ASSERT_EQ(scene->mNumMaterials, 2u);
    EXPECT_EQ(MaterialName(*scene, 0), "teal");
    EXPECT_EQ(MaterialName(*scene, 1), "silver");
    EXPECT_EQ(scene->mMeshes[0]->mMaterialIndex, 1u);
    EXPECT_EQ(scene->mMeshes[1]->mMaterialIndex, 0u);

    aiColor4D diffuse, base;
    aiString texture;
    int twoSided = 0;
    const aiMaterial& silver = *scene->mMaterials[1];
    ASSERT_EQ(silver.Get(AI_MATKEY_COLOR_DIFFUSE, diffuse), aiReturn_SUCCESS);
    EXPECT_EQ(diffuse, aiColor4D(192 / 255.0f, 192 / 255.0f, 192 / 255.0f, 1));
    ASSERT_EQ(silver.Get(AI_MATKEY_TEXTURE_DIFFUSE(0), texture), aiReturn_SUCCESS);
    EXPECT_STREQ(texture.C_Str(), "Text12.jpg");
    ASSERT_EQ(silver.Get(AI_MATKEY_BASE_COLOR, base), aiReturn_SUCCESS);
    EXPECT_EQ(base, aiColor4D(1, 1, 1, 1));
    EXPECT_EQ(silver.Get(AI_MATKEY_TWOSIDED, twoSided), aiReturn_SUCCESS);
    EXPECT_EQ(twoSided, 1);
    // A layer without a picture keeps its colour as the only base.
    EXPECT_NE(scene->mMaterials[0]->Get(AI_MATKEY_TEXTURE_DIFFUSE(0), texture), aiReturn_SUCCESS);
    EXPECT_NE(scene->mMaterials[0]->Get(AI_MATKEY_BASE_COLOR, base), aiReturn_SUCCESS);
}

TEST(MeshScene, AnEmptyStoreGivesARootWithoutMeshesOrMaterials)
{
    TStoreBuilder store;
    const TScenePtr scene = BuildMeshScene(*store.Store, CornerLayout, {});
    ASSERT_NE(scene->mRootNode, nullptr);
    EXPECT_EQ(scene->mNumMeshes, 0u);
    EXPECT_EQ(scene->mNumMaterials, 0u);
    EXPECT_EQ(scene->mRootNode->mNumChildren, 0u);
}

TEST(MeshScene, ABrokenCornerIndexNamesTheObject)
{
    TStoreBuilder store;
    store.AddSquare(1).AddSquare(1);
    store.Store->Object(2).ModelFaces->CornerIndex[1] = 0;
    try {
        BuildMeshScene(*store.Store, SharedLayout, {});
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()), "object 2: corner index 0");
    }
}

TEST(MeshScene, EmbeddedPicturesTravelWithTheScene)
{
    TStoreBuilder store;
    store.AddSquare(1);
    TSceneTextures textures;
    textures.Paths[1] = "*0";
    textures.Embedded.push_back({"Text01.jpg", std::string("\xFF\xD8\xFF\xE0 five", 9)});
    const TScenePtr scene = BuildMeshScene(*store.Store, UVLayout, textures);
    ASSERT_EQ(scene->mNumTextures, 1u);
    const aiTexture& texture = *scene->mTextures[0];
    EXPECT_EQ(texture.mHeight, 0u);
    EXPECT_EQ(texture.mWidth, 9u);
    EXPECT_STREQ(texture.achFormatHint, "jpg");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(texture.pcData), 9), std::string("\xFF\xD8\xFF\xE0 five", 9));
}
