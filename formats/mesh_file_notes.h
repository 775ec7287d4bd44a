// The program, seed and definition notes of a mesh file, and the touches
// Assimp's OBJ, PLY and STL output needs after it is written.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "formats/mesh_export.h"

namespace verdel {

// The note a file carries as comment lines: "Made by <program>", then
// "Seed: <n>" when there is a seed, then "Definition:" and the definition's
// lines when there is one.
std::vector<std::string> NoteLines(const TExportInfo& Info);

// Puts each line in front of Text as a comment ("# " and the line).
void PrependHashComments(std::string& Text, const std::vector<std::string>& Lines);

// Adds each line as a "comment" line of a PLY header, after its "format"
// line. Characters a header cannot hold become "?". Throws
// std::runtime_error when Ply has no format line.
void AddPlyComments(std::string& Ply, const std::vector<std::string>& Lines);

// Assimp 5.2 declares binary PLY colours as bytes ("property uchar red") but
// writes each as a 4-byte float. Rewrites such a file's vertex colours as the
// bytes its header declares; a file already written as declared is left as
// it is. Throws std::runtime_error when the body fits neither layout.
void RepairPlyColors(std::string& Ply);

// Writes Text (cut to 80 bytes, zero-padded) as a binary STL file's header.
void SetStlHeader(std::string& Stl, const std::string& Text);

} // namespace verdel
