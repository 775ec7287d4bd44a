// Wavefront OBJ files and their MTL material files.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "formats/mesh_content.h"

namespace verdel {

// Writes Store as OBJ text: the notes as "#" comments, "mtllib MtlName", the
// four texture places of a face's corners, then one group per object with
// faces ("g object<k>", "usemtl <colour>"), its vertices in vertex order,
// its normals (one per face, or with SmoothNormals those AssignNormals
// gives), and its faces (triangles and quadrilaterals) as
// vertex/texture/normal numbers. Throws std::runtime_error naming the object
// it cannot write, or "write error".
void WriteObj(const TFaceStore& Store, std::ostream& Out, const std::vector<std::string>& Notes,
              const std::string& MtlName, bool SmoothNormals = false);

// Writes the MTL file of the materials: the note as a comment, then each
// material with its diffuse colour and its picture ("map_Kd") when it has one.
void WriteMtl(std::ostream& Out, const std::string& Note, const std::vector<TLayerMaterial>& Materials);

} // namespace verdel
