// What Verdel remembers of the user's files between runs: the recently used
// files and the folder last used for each kind of file. Both live in the
// settings file, beside the five settings.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace verdel {

// The kinds of file whose folder is remembered.
enum class TFileKind { Definition, Model, Picture, Texture };
inline constexpr size_t FileKindCount = 4;

struct TFileHistory {
    static constexpr size_t MaxRecentFiles = 8;

    std::vector<std::string> RecentFiles;           // newest first, each once
    std::array<std::string, FileKindCount> Folders; // the folder last used per kind, empty when none

    // Puts Path first in the recent files (once), dropping the oldest beyond the limit.
    void AddRecentFile(const std::string& Path);
    // Takes Path out of the recent files (it could not be opened).
    void RemoveRecentFile(const std::string& Path);
    // The folder last used for Kind, or Default when none was.
    std::string FolderFor(TFileKind Kind, const std::string& Default) const;
    // Remembers the folder of the file Path (a path ending in "/" is a folder itself).
    void RememberFolder(TFileKind Kind, const std::string& Path);
};

// Reads the history from the settings file in Folder (a missing file or key reads as empty).
TFileHistory LoadFileHistory(const std::string& Folder);

// Writes the history into the settings file in Folder: sections "Recent Files"
// (File1, File2, ... for the files listed; slots no longer used are emptied)
// and "Folders" (the kinds used); every other line of the file stays as it is.
// Throws std::runtime_error naming the file.
void SaveFileHistory(const TFileHistory& History, const std::string& Folder);

} // namespace verdel
