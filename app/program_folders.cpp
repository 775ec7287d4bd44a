#include "app/program_folders.h"

#include <filesystem>

namespace verdel {


TProgramFolders FoldersBeside(const std::string& ProgramFolder)
{
    return {ProgramFolder, ProgramFolder + "vdfiles/", ProgramFolder + "output/", ProgramFolder + "help/",
            ProgramFolder + "textures/"};
}

std::string EnsureWorkFolders(const TProgramFolders& Folders)
{
    for (const std::string& folder : {Folders.DefinitionFolder, Folders.OutputFolder}) {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) return folder + ": " + error.message();
    }
    return {};
}

} // namespace verdel
