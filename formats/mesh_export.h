// Writing the face store as a mesh file for other 3-D tools: OBJ, STL, PLY, glTF.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "formats/mesh_content.h"

namespace verdel {

// The mesh formats, chosen by the file's extension.
enum class TMeshFormat { mfObj, mfStl, mfPly, mfGltf, mfGlb };

// The format of a file name's extension in any letter case (".obj", ".stl",
// ".ply", ".gltf", ".glb"); nothing for any other name.
std::optional<TMeshFormat> MeshFormatOf(const std::string& FileName);

// Writes Store to FileName in the format its extension names, streaming it
// object by object: one group per object (a glTF mesh per used layer, or
// per object with Info.NodePerObject), one material per used layer named
// after its colour; Info.SmoothNormals gives OBJ, PLY and glTF the normals
// of AssignNormals. ".obj" writes its ".mtl" and copies the used textures
// beside it; ".stl" is binary triangles; ".ply" is binary with the layer
// colour per vertex; ".gltf" writes its ".bin" and copies the textures,
// ".glb" holds them. Returns warnings about textures that were left out (a
// picture that cannot be read, or one glTF cannot hold). Throws
// std::runtime_error naming the file for an unknown extension, a missing
// folder, a store that cannot be written or a failed write; a file left
// unfinished is removed.
std::vector<std::string> ExportMesh(const TFaceStore& Store, const std::string& FileName, const TExportInfo& Info);

} // namespace verdel
