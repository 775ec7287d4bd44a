// glTF 2.0 files: a .gltf JSON file with its .bin buffer, or one binary .glb file.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "formats/mesh_content.h"

namespace verdel {

// Writes Store as glTF 2.0: a root node "model" with one node and one mesh
// per used layer, named after its colour ("green") and gathering the
// layer's objects in order, or with Info.NodePerObject one per object that
// has faces ("object<k>"). Each mesh is one triangle list with positions,
// texture coordinates and its layer's material, and with
// Info.SmoothNormals normals too (AssignNormals). Every mesh has its own
// accessors into one buffer: the pictures (in a .glb), then every vertex as
// x, y, z, (nx, ny, nz,) u, v floats, then every index, 16-bit while no mesh
// has more than 65,535 vertices. Materials holds the used layers in layer
// order: double-sided, the layer colour as base colour, or a picture shown
// untinted. The asset names Info's program as generator and carries the
// definition and seed in its extras. Throws std::runtime_error naming the
// object it cannot write, or "write error".

// The JSON to Json and the buffer to Bin (nothing when no object has faces),
// which the JSON names BinUri; the pictures are the materials' Texture files.
void WriteGltf(const TFaceStore& Store, std::ostream& Json, std::ostream& Bin, const std::string& BinUri,
               const TExportInfo& Info, const std::vector<TLayerMaterial>& Materials);

// One binary file holding the JSON and the buffer, with the materials'
// Picture bytes (of their MimeType) inside.
void WriteGlb(const TFaceStore& Store, std::ostream& Out, const TExportInfo& Info,
              const std::vector<TLayerMaterial>& Materials);

// A file name as a relative URI: every byte but letters, digits and "-._~" percent-encoded.
std::string FileUri(const std::string& Name);

} // namespace verdel
