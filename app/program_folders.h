// The folders beside the executable that hold Verdel's data.
#pragma once

#include <string>

namespace verdel {

// Every folder ends in "/".
struct TProgramFolders {
    std::string ProgramFolder;    // the executable's folder
    std::string DefinitionFolder; // vdfiles/
    std::string OutputFolder;     // output/
    std::string HelpFolder;       // help/
    std::string TexturesFolder;   // textures/
};


// The folders below ProgramFolder (which ends in "/").
TProgramFolders FoldersBeside(const std::string& ProgramFolder);

// Creates the definition and output folders when they are missing; returns
// the first error met, empty when both exist.
std::string EnsureWorkFolders(const TProgramFolders& Folders);

} // namespace verdel
