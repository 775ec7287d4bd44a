// Writing the face store as a mesh file for other 3-D tools: OBJ, STL, PLY, glTF.
#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "formats/mesh_content.h"

namespace verdel {

// The mesh formats, chosen by the file's extension.
enum class TMeshFormat { mfObj, mfStl, mfPly, mfGltf, mfGlb };

// The format of a file name's extension in any letter case (".obj", ".stl",
// ".ply", ".gltf", ".glb"); nothing for any other name.
std::optional<TMeshFormat> MeshFormatOf(const std::string& FileName);

// Asked before an export replaces files, with their names: the main file
// when it exists, then every companion (".mtl", ".bin", a copied picture)
// that exists with other content than the export's. True lets the export
// replace them.
using TReplaceQuestion = std::function<bool(const std::vector<std::string>& Files)>;

// An export abandoned because the replace question was answered No; the
// message names the file and the companions that would have been replaced.
class EExportDeclined : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

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
// folder, a store that cannot be written or a failed write, EExportDeclined
// for a No. Every file is written under a temporary name first (TAtomicFile);
// only when all are complete is MayReplace asked (when a file would be
// replaced; without it they are) and the files renamed into place, so a
// failure or a No leaves every old file as it was. A companion that already
// holds the same bytes is not rewritten.
std::vector<std::string> ExportMesh(const TFaceStore& Store, const std::string& FileName, const TExportInfo& Info,
                                    const TReplaceQuestion& MayReplace = {});

} // namespace verdel
