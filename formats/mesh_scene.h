// The face store as an Assimp scene: one mesh per object, one material per used layer.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include <assimp/scene.h>

#include "engine/face_store.h"

namespace verdel {

// How a format wants the faces of an object laid out.
struct TSceneLayout {
    bool Triangles = false;    // quadrilaterals split into (P0 P1 P2) and (P0 P2 P3)
    bool TexCoords = false;    // texture coordinates per face corner
    bool FaceNormals = false;  // every face corner its own vertex, with its face's normal
    bool VertexColors = false; // the layer colour on every vertex
    bool LayerMeshes = false;  // one mesh per used layer holding its objects, instead of one per object
};

// A picture carried inside the file.
struct TEmbeddedPicture {
    std::string Name;  // its file name ("Text01.jpg")
    std::string Bytes; // the file's contents
};

// The pictures the materials reference.
struct TSceneTextures {
    std::array<std::string, LayerCount + 1> Paths{}; // layer k's texture as the file names it; empty: none
    std::vector<TEmbeddedPicture> Embedded;          // referenced as "*0", "*1", ... in Paths
    bool WhiteBase = false;                          // textured materials show the picture untinted
};

// An Assimp scene that owns what it points to.
using TScenePtr = std::unique_ptr<aiScene>;

// The texture coordinates of face corner Slot (0..3) as Assimp holds them,
// origin at the picture's bottom-left: P0 shows the picture's top-right,
// P1 its bottom-right, P2 its bottom-left, P3 its top-left.
aiVector3D CornerTexCoord(int Slot);

// Builds the scene of Store: a root node holding one mesh per object that
// has faces, named "object" and the object's number, or with LayerMeshes a
// child node and mesh per used layer, named after its colour, holding its
// objects in order. Without TexCoords and FaceNormals an object brings the vertices
// that its faces use, in vertex order; with TexCoords a vertex is split where
// its corners take different coordinates. A face whose fourth corner repeats
// the third is one triangle. Throws std::runtime_error naming the object it
// cannot build.
TScenePtr BuildMeshScene(const TFaceStore& Store, const TSceneLayout& Layout, const TSceneTextures& Textures);

} // namespace verdel
