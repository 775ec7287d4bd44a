#include "app/program_folders.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/settings.h"

namespace verdel {

namespace fs = std::filesystem;

namespace {

std::string WithSlash(std::string path)
{
    if (path.empty() || path.back() != '/') path += '/';
    return path;
}

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The documents folder named by the XDG_DOCUMENTS_DIR line of a user-dirs.dirs
// file ("$HOME/Documents"), or empty.
std::string DocumentsFromUserDirs(const std::string& file, const std::string& home)
{
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        const std::string key = "XDG_DOCUMENTS_DIR=";
        if (line.rfind(key, 0) != 0) continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
        return value.empty() || value[0] != '/' ? std::string() : value;
    }
    return {};
}

// Whether new files can be made in Folder, or Folder itself where it is missing.
bool CanWriteIn(const std::string& folder)
{
    std::error_code error;
    const fs::path path = fs::path(folder).parent_path(); // without the trailing "/"
    if (fs::is_directory(path, error)) return CanWriteFile(WithSlash(path.string()) + ".verdel-write-probe");
    if (fs::exists(path, error)) return false; // a file stands where the folder should be
    return CanWriteFile(WithSlash(path.parent_path().string()) + ".verdel-write-probe");
}

// The data folders below Data, the settings beside the executable.
TProgramFolders FoldersIn(const std::string& executable, const std::string& data)
{
    return {
        executable, data, data + "vdfiles/", data + "vdfiles/", data + "output/", data + "help/", data + "textures/",
        executable, {}};
}

} // namespace

TProgramFolders FoldersBeside(const std::string& ProgramFolder) { return FoldersIn(ProgramFolder, ProgramFolder); }

TUserFolders UserFoldersFromEnvironment()
{
    std::string home = Environment("HOME");
    if (home.empty()) home = fs::current_path().string();
    std::string config = Environment("XDG_CONFIG_HOME");
    if (config.empty() || config[0] != '/') config = home + "/.config";
    std::string documents = Environment("XDG_DOCUMENTS_DIR");
    if (documents.empty()) documents = DocumentsFromUserDirs(WithSlash(config) + "user-dirs.dirs", home);
    if (documents.empty()) documents = home + "/Documents";
    return {WithSlash(config) + "verdel/", WithSlash(documents) + "Verdel/"};
}

std::string DataFolderFor(const std::string& ExecutableFolder)
{
    std::error_code error;
    const std::string exe = WithSlash(ExecutableFolder);
    if (fs::is_directory(exe + "textures", error) || fs::is_directory(exe + "vdfiles", error)) return exe;
    const fs::path shared = fs::path(exe) / ".." / "share" / "verdel";
    if (!fs::is_directory(shared, error)) return exe;
    return WithSlash(fs::weakly_canonical(shared, error).string());
}

TProgramFolders LocateFolders(const std::string& ExecutableFolder, const TUserFolders& User)
{
    std::error_code error;
    const std::string exe = WithSlash(ExecutableFolder);
    TProgramFolders folders = FoldersIn(exe, DataFolderFor(exe));
    // An installed program writes nothing into the system's folders, whoever runs it.
    const bool installed = folders.DataFolder != exe;
    if (installed || !CanWriteIn(folders.OutputFolder)) folders.OutputFolder = User.DocumentsFolder;
    if (installed || !CanWriteIn(folders.DefinitionFolder)) folders.NewDefinitionFolder = User.DocumentsFolder;

    const std::string besideFile = SettingsPath(exe);
    if (installed || !CanWriteFile(besideFile)) {
        folders.SettingsFolder = User.ConfigFolder;
        if (fs::is_regular_file(besideFile, error)) folders.InitialSettings = besideFile;
    }
    return folders;
}

std::string EnsureWorkFolders(const TProgramFolders& Folders)
{
    std::string firstError;
    for (const std::string& folder : {Folders.DefinitionFolder, Folders.NewDefinitionFolder, Folders.OutputFolder}) {
        std::error_code error;
        fs::create_directories(folder, error);
        if (error && firstError.empty()) firstError = folder + ": " + error.message();
    }
    // A settings folder that cannot be made is reported when the settings are written.
    std::error_code ignored;
    fs::create_directories(Folders.SettingsFolder, ignored);
    return firstError;
}

bool CanWriteFile(const std::string& Path)
{
    std::error_code error;
    const fs::file_status status = fs::status(Path, error);
    if (fs::exists(status)) {
        if (!fs::is_regular_file(status)) return false;
        return std::ofstream(Path, std::ios::binary | std::ios::app).good(); // appends nothing
    }
    if (!fs::is_directory(fs::path(Path).parent_path(), error)) return false;
    // A probe of our own beside it, removed at once.
    const std::string probe = Path + ".probe" + std::to_string(::getpid());
    if (!std::ofstream(probe, std::ios::binary).good()) return false;
    fs::remove(probe, error);
    return true;
}

} // namespace verdel
