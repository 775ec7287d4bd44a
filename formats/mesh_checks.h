// Checks of foreign mesh files made in Verdel's own code before the mesh
// library sees them: headers whose counts cannot fit in the file, and the
// headers the library would loop on or allocate gigabytes for.
#pragma once

#include <string>
#include <string_view>

namespace verdel {

// The reason Bytes, the whole content of a file whose lower-case extension
// is Extension ("ply", "off", "stl", "glb", ...), is refused before import,
// in words for a person ("the file ends inside a face list (it holds 1 of the
// 1000000 its header claims)"); empty when the file passes. Checks an empty
// file, PLY (the "ply" line, the header up to its end_header line, and the
// body walked element by element), OFF (the counts against the lines that
// follow), binary STL (the triangle count against the size) and GLB (the
// lengths of the header and of each chunk). Reads each byte at most a few
// times, whatever the counts claim.
std::string MeshFileFault(std::string_view Bytes, std::string_view Extension);

// The PLY part of MeshFileFault.
std::string PlyFault(std::string_view Bytes);

// The words for a list cut short: "the file ends inside a face list (it holds
// 1 of the 1000000 its header claims)".
std::string EndsInsideList(std::string_view Element, unsigned long long Held, unsigned long long Claimed);

} // namespace verdel
