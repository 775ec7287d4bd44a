// What the mesh file tests share: sample models, folders of their own, and
// Assimp's reading of a written file.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include "formats/mesh_content.h"
#include "support/run_cli.h"
#include "support/models.h"

namespace verdel::test {

struct TSampleModel {
    const char* File;
    TSolidSettings Settings;
};

// Tubes on one layer; cones and tubes on two; pyramids (stored triangles and
// a square) on four; blocks on six; flat polygons on four.
inline const std::vector<TSampleModel> SampleModels = {
    {"hilbert3d.vd", {}},
    {"cones.vd", {true, true, false, false}},
    {"pyramids.vd", {true, false, false, true}},
    {"blocks.vd", {false, false, true, false}},
    {"flower.vd", {}},
};

inline std::unique_ptr<TFaceStore> GenerateSample(const TSampleModel& model)
{
    return GenerateStore(ReadLinesFromFile(Sample(model.File)), model.Settings);
}

// A fresh folder of the test's own, ending in "/".
inline std::string MeshFolder(const std::string& name)
{
    // The process's number keeps test programs run side by side apart.
    const std::filesystem::path folder =
        std::filesystem::path(::testing::TempDir()) / ("verdel-mesh-" + name + "-" + std::to_string(getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder.string() + "/";
}

// The notes and textures of a small definition with a seed.
inline TExportInfo SampleInfo()
{
    TExportInfo info;
    info.TexturesFolder = std::string(VERDEL_DATA) + "/textures";
    info.Definition = "2\n90\n10\nF\nF=F[+F]\n@\n";
    info.Seed = 7;
    return info;
}

// What the store holds, counted as each format stores it.
struct TStoreCounts {
    unsigned Objects = 0;          // objects with faces
    unsigned Faces = 0;            // as stored: quadrilaterals and triangles
    unsigned Triangles = 0;        // quadrilaterals split in two
    unsigned Corners = 0;          // 3 per triangle, 4 per quadrilateral
    unsigned UsedVertices = 0;     // distinct vertex numbers per object
    unsigned TexturedVertices = 0; // distinct (vertex number, corner place) per object
    std::set<std::string> Layers;  // colour names of the layers in use
    std::set<std::tuple<float, float, float>> Positions;
};

inline TStoreCounts CountStore(const TFaceStore& store)
{
    TStoreCounts counts;
    for (int k = 1; k <= store.ObjectCount; ++k) {
        const TFaceObject& object = store.Object(k);
        if (!object.ModelFaces) continue;
        ++counts.Objects;
        counts.Layers.insert(LayerColorName(object.ColorIndex));
        std::set<int> used;
        std::set<std::pair<int, int>> textured;
        for (const TFaceNode* face = object.ModelFaces; face; face = face->Next) {
            const int corners = face->CornerIndex[3] == face->CornerIndex[2] ? 3 : 4;
            ++counts.Faces;
            counts.Triangles += corners - 2;
            counts.Corners += static_cast<unsigned>(corners);
            for (int i = 0; i < corners; ++i) {
                used.insert(face->CornerIndex[i]);
                textured.insert({face->CornerIndex[i], i});
                counts.Positions.insert({face->Corners[i].X, face->Corners[i].Y, face->Corners[i].Z});
            }
        }
        counts.UsedVertices += static_cast<unsigned>(used.size());
        counts.TexturedVertices += static_cast<unsigned>(textured.size());
    }
    return counts;
}

// The most vertices an object of Store holds.
inline int LargestObject(const TFaceStore& store)
{
    int largest = 0;
    for (int k = 1; k <= store.ObjectCount; ++k) largest = std::max(largest, store.Object(k).VertexCount);
    return largest;
}

// What Assimp read from a file.
struct TSceneTotals {
    unsigned Meshes = 0, Vertices = 0, Faces = 0;
    bool TexCoords = true, Colors = true;
    std::set<std::string> Materials;
    std::set<std::tuple<float, float, float>> Positions;
};

inline TSceneTotals SceneTotals(const aiScene& scene)
{
    TSceneTotals totals;
    totals.Meshes = scene.mNumMeshes;
    for (unsigned m = 0; m < scene.mNumMeshes; ++m) {
        const aiMesh& mesh = *scene.mMeshes[m];
        totals.Vertices += mesh.mNumVertices;
        totals.Faces += mesh.mNumFaces;
        totals.TexCoords = totals.TexCoords && mesh.HasTextureCoords(0);
        totals.Colors = totals.Colors && mesh.HasVertexColors(0);
        for (unsigned v = 0; v < mesh.mNumVertices; ++v)
            totals.Positions.insert({mesh.mVertices[v].x, mesh.mVertices[v].y, mesh.mVertices[v].z});
    }
    for (unsigned m = 0; m < scene.mNumMaterials; ++m) {
        aiString name;
        scene.mMaterials[m]->Get(AI_MATKEY_NAME, name);
        totals.Materials.insert(name.C_Str());
    }
    return totals;
}

// Whether every position read lies within a few units in the last place of
// one written, as many as there were: Assimp's reading of decimal text may
// be a unit in the last place off.
inline bool NearlyEqual(const std::set<std::tuple<float, float, float>>& read,
                        const std::set<std::tuple<float, float, float>>& written)
{
    if (read.size() != written.size()) return false;
    const auto near = [](float a, float b) { return std::abs(a - b) <= 1e-6f * std::max(1.0f, std::abs(b)); };
    for (const auto& [x, y, z] : read) {
        const float tolerance = 1e-6f * std::max(1.0f, std::abs(x));
        bool found = false;
        for (auto w = written.lower_bound({x - tolerance, -INFINITY, -INFINITY});
             !found && w != written.end() && std::get<0>(*w) <= x + tolerance; ++w)
            found = near(y, std::get<1>(*w)) && near(z, std::get<2>(*w));
        if (!found) return false;
    }
    return true;
}

} // namespace verdel::test
