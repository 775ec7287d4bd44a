// Writing the face store as a DXF file of polyface meshes.
#pragma once

#include <iosfwd>
#include <string>

#include "engine/face_store.h"

namespace verdel {

// A number as the DXF file holds it: fixed point with ten decimals and a
// period ("0.5000000000"), a whole number as a plain integer ("2", "-3"),
// zero (also -0) as "0". The same text on every locale.
std::string FormatDXFNumber(double Value);

// Writes the store: header, the twelve layer entries, one polyface mesh per
// object (vertices rebuilt from its ModelFaces by CornerIndex), the closing
// lines; every line ends in CR LF. Throws std::runtime_error when an object
// cannot be written (a corner index below 1, a coordinate that is not finite).
void WriteDXF(std::ostream& Out, const TFaceStore& Store);

// Writes Store to FileName when Kind is "dxf" (exactly); any other Kind writes
// nothing. The file is written whole or not at all (TAtomicFile). Throws
// std::runtime_error naming the file when it cannot be written.
void WriteDXFFile(const TFaceStore& Store, const std::string& FileName, const std::string& Kind);

} // namespace verdel
