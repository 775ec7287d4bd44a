// Binary PLY files: shared vertices with the layer colour as bytes, and faces.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "engine/face_store.h"

namespace verdel {

// Writes Store as binary little-endian PLY: the notes as header comments
// (characters a header cannot hold become "?"), then each object's vertices
// in vertex order with x, y, z as floats and the layer colour as red, green,
// blue and alpha bytes, then each object's faces (triangles and
// quadrilaterals) as a byte count and 32-bit vertex numbers. With
// SmoothNormals each vertex also has nx, ny, nz after z, the normals
// AssignNormals gives, and a vertex is written once for each normal it
// takes, in order of first use. Throws std::runtime_error naming the object
// it cannot write, or "write error".
void WritePly(const TFaceStore& Store, std::ostream& Out, const std::vector<std::string>& Notes,
              bool SmoothNormals = false);

} // namespace verdel
