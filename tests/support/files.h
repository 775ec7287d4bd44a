// Files for tests: a temporary folder removed with its contents, and whole
// files read and written as bytes.
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace verdel::test {

inline std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteWholeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// The text of Rest up to the first Separator (all of it when there is none),
// taken from Rest with the separator: a field of a row of a data table.
inline std::string TakeField(std::string& Rest, const std::string& Separator = " | ")
{
    const size_t end = Rest.find(Separator);
    const std::string field = Rest.substr(0, end);
    Rest = end == std::string::npos ? std::string() : Rest.substr(end + Separator.size());
    return field;
}

// The rows of a data table: the lines of the file at Path, without blank
// lines and lines starting with Comment.
inline std::vector<std::string> TableRows(const std::string& Path, const std::string& Comment = "#")
{
    std::ifstream table(Path);
    std::vector<std::string> rows;
    for (std::string row; std::getline(table, row);)
        if (!row.empty() && row.rfind(Comment, 0) != 0) rows.push_back(row);
    return rows;
}

// A fresh folder of its own under the system's temporary folder, named after
// Purpose, the process and a counter; removed with everything in it at the end.
class TTempFolder {
public:
    explicit TTempFolder(const std::string& Purpose)
    {
        static std::atomic<int> made{0};
        Root = std::filesystem::temp_directory_path() /
               ("verdel-" + Purpose + "-" + std::to_string(getpid()) + "-" + std::to_string(made++));
        std::filesystem::remove_all(Root);
        std::filesystem::create_directories(Root);
    }
    ~TTempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(Root, ignored);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    // The path of Name inside the folder.
    std::string operator/(const std::string& Name) const { return (Root / Name).string(); }
    std::string Path() const { return Root.string(); }

private:
    std::filesystem::path Root;
};

} // namespace verdel::test
