// The importer child's work: one mesh file read through the mesh library
// under limits, its scene sent back as placed meshes.
#pragma once

namespace verdel {

// The main function of verdel-import (see StartImportChild for its
// arguments). Reads the file with only the library's readers for its
// extension, through TFolderIOSystem, and writes the reply (TReplyWriter) to
// ReplyFd: the placed meshes and the end, or the failure (a refused
// companion file first, else the library's message, or a scene too large
// for the reply). Never returns.
[[noreturn]] void ImportChildMain(int argc, char** argv);

} // namespace verdel
