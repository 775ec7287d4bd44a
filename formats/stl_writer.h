// Binary STL files: triangles with their normals.
#pragma once

#include <iosfwd>
#include <string>

#include "engine/face_store.h"

namespace verdel {

// Writes Store as binary STL: Header cut or zero-padded to 80 bytes, the
// triangle count, then every face as one triangle (a stored triangle) or two
// (a quadrilateral split along its P0-P2 diagonal), each with its flat
// normal. Throws std::runtime_error naming the object it cannot write, or "write error".
void WriteStl(const TFaceStore& Store, std::ostream& Out, const std::string& Header);

} // namespace verdel
