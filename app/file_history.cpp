#include "app/file_history.h"

#include <algorithm>
#include <filesystem>

#include "app/ini_file.h"
#include "app/settings.h"
#include "engine/text_lines.h"

namespace verdel {

namespace {

constexpr const char* RecentSection = "Recent Files";
constexpr const char* FolderSection = "Folders";
constexpr std::array<const char*, FileKindCount> FolderKeys = {"Definitions", "Models", "Pictures", "Textures"};

std::string RecentKey(size_t index) { return "File" + std::to_string(index + 1); }

// The settings file of Folder as a TIniFile, empty when there is none.
TIniFile ReadIni(const std::string& folder)
{
    TIniFile ini;
    const std::string path = SettingsPath(folder);
    if (std::filesystem::is_regular_file(path)) ini.Parse(ReadFileText(path));
    return ini;
}

} // namespace

void TFileHistory::AddRecentFile(const std::string& Path)
{
    RemoveRecentFile(Path);
    RecentFiles.insert(RecentFiles.begin(), Path);
    if (RecentFiles.size() > MaxRecentFiles) RecentFiles.resize(MaxRecentFiles);
}

void TFileHistory::RemoveRecentFile(const std::string& Path)
{
    RecentFiles.erase(std::remove(RecentFiles.begin(), RecentFiles.end(), Path), RecentFiles.end());
}

std::string TFileHistory::FolderFor(TFileKind Kind, const std::string& Default) const
{
    const std::string& folder = Folders[static_cast<size_t>(Kind)];
    return folder.empty() ? Default : folder;
}

void TFileHistory::RememberFolder(TFileKind Kind, const std::string& Path)
{
    std::string folder = Path.substr(0, Path.find_last_of('/') + 1);
    if (folder.empty()) return;
    Folders[static_cast<size_t>(Kind)] = folder;
}

TFileHistory LoadFileHistory(const std::string& Folder)
{
    TFileHistory history;
    TIniFile ini;
    try {
        ini = ReadIni(Folder);
    } catch (const std::exception&) {
        return history; // an unreadable file is reported when the settings are read
    }
    for (size_t i = 0; i < TFileHistory::MaxRecentFiles; ++i) {
        const std::optional<std::string> file = ini.Value(RecentSection, RecentKey(i));
        if (file && !file->empty() &&
            std::find(history.RecentFiles.begin(), history.RecentFiles.end(), *file) == history.RecentFiles.end())
            history.RecentFiles.push_back(*file);
    }
    for (size_t k = 0; k < FileKindCount; ++k)
        history.Folders[k] = ini.Value(FolderSection, FolderKeys[k]).value_or("");
    return history;
}

void SaveFileHistory(const TFileHistory& History, const std::string& Folder)
{
    TIniFile ini = ReadIni(Folder);
    for (size_t i = 0; i < TFileHistory::MaxRecentFiles; ++i) {
        // Slots beyond the list are emptied where the file has them, not added.
        if (i < History.RecentFiles.size()) ini.SetValue(RecentSection, RecentKey(i), History.RecentFiles[i]);
        else if (ini.Value(RecentSection, RecentKey(i))) ini.SetValue(RecentSection, RecentKey(i), "");
    }
    for (size_t k = 0; k < FileKindCount; ++k) {
        // A folder never used adds no key, so an untouched settings file keeps its lines.
        if (!History.Folders[k].empty() || ini.Value(FolderSection, FolderKeys[k]))
            ini.SetValue(FolderSection, FolderKeys[k], History.Folders[k]);
    }
    WriteFileText(SettingsPath(Folder), ini.Text());
}

} // namespace verdel
