// The folders that hold Verdel's data, its output and its settings: beside the
// executable for a program run from its build or unpacked folder, in the
// system's data folder and the user's own folders for an installed one.
#pragma once

#include <string>

namespace verdel {

// Every folder ends in "/".
struct TProgramFolders {
    std::string ProgramFolder;       // the executable's folder
    std::string DataFolder;          // the data files: ProgramFolder, or share/verdel/ of an installed program
    std::string DefinitionFolder;    // vdfiles/ (the sample definitions, opened by Open)
    std::string NewDefinitionFolder; // where new definitions are proposed: vdfiles/, or the user's folder
    std::string OutputFolder;        // output/, or the user's folder when output/ cannot be written
    std::string HelpFolder;          // help/
    std::string TexturesFolder;      // textures/
    std::string SettingsFolder;      // where the settings file is read and written
    std::string InitialSettings;     // a settings file to start from while SettingsFolder holds none, or empty
};

// The user's own folders, each ending in "/".
struct TUserFolders {
    std::string ConfigFolder;    // Verdel's configuration folder: $XDG_CONFIG_HOME/verdel/ or ~/.config/verdel/
    std::string DocumentsFolder; // Verdel's folder in the user's documents: Documents/Verdel/
};


// Where the data files of a program in ExecutableFolder are: beside it when its
// textures/ or vdfiles/ folder is, else ../share/verdel/ when that exists.
std::string DataFolderFor(const std::string& ExecutableFolder);

// Every folder below ProgramFolder (which ends in "/"), the settings file beside it.
TProgramFolders FoldersBeside(const std::string& ProgramFolder);

// The user's folders from HOME, XDG_CONFIG_HOME and XDG_DOCUMENTS_DIR (or the
// XDG_DOCUMENTS_DIR line of user-dirs.dirs in the configuration home).
TUserFolders UserFoldersFromEnvironment();

// The folders for an executable in ExecutableFolder. The data is beside it when
// its textures/ or vdfiles/ folder is, else in ../share/verdel/ (an installed
// program). Beside its data, the program keeps its settings beside the
// executable while a settings file there, or the folder itself, can be written,
// and its output in output/ while that can be written. An installed program, and
// one whose folders cannot be written, keeps its settings in User.ConfigFolder
// (starting from a readable file beside the executable when there is one) and
// its output and new definitions in User.DocumentsFolder.
TProgramFolders LocateFolders(const std::string& ExecutableFolder, const TUserFolders& User);

// Creates the definition, new-definition, output and settings folders when they
// are missing; returns the first error met for the first three, empty when none.
std::string EnsureWorkFolders(const TProgramFolders& Folders);

// Whether a file could be written at Path: an existing regular file opens for
// appending, or a new file can be made in the folder. Leaves nothing behind.
bool CanWriteFile(const std::string& Path);

} // namespace verdel
