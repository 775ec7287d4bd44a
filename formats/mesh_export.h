// Writing the face store as a mesh file for other 3-D tools: OBJ, STL, PLY, glTF.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/face_store.h"

namespace verdel {

// What an exported file records besides the geometry, and where the layer
// textures come from.
struct TExportInfo {
    std::string Definition;                                  // the definition text of the model; empty for a DXF
    std::optional<uint32_t> Seed;                            // the random source's seed when the generation began
    std::string TexturesFolder;                              // holds Text01.jpg to Text12.jpg; empty: no textures
    std::array<std::string, LayerCount + 1> LayerTextures{}; // a picture chosen for layer k; empty: the default
    std::string ProgramName = "Verdel";
};

// The mesh formats, chosen by the file's extension.
enum class TMeshFormat { mfObj, mfStl, mfPly, mfGltf, mfGlb };

// The format of a file name's extension in any letter case (".obj", ".stl",
// ".ply", ".gltf", ".glb"); nothing for any other name.
std::optional<TMeshFormat> MeshFormatOf(const std::string& FileName);

// Writes Store to FileName in the format its extension names: one mesh per
// object, one material per used layer named after its colour. ".obj" writes
// its ".mtl" and copies the used textures beside it; ".stl" is binary
// triangles; ".ply" is binary with the layer colour per vertex; ".gltf"
// writes its ".bin" and copies the textures, ".glb" holds them. Returns
// warnings about textures that were left out (a picture that cannot be read).
// Throws std::runtime_error naming the file for an unknown extension, a
// missing folder, a store that cannot be written or a failed write.
std::vector<std::string> ExportMesh(const TFaceStore& Store, const std::string& FileName, const TExportInfo& Info);

// As ExportMesh, but empties Store (FreeScene) as soon as its mesh scene is
// built, which keeps the memory peak of a large model lower (the batch tool).
std::vector<std::string> ExportMeshReleasing(TFaceStore& Store, const std::string& FileName, const TExportInfo& Info);

} // namespace verdel
