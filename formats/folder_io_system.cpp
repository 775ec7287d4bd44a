#include "formats/folder_io_system.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include <assimp/IOStream.hpp>

namespace verdel {

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Whether Name has a ".." step between '/' or '\' separators.
bool ClimbsUp(std::string_view name)
{
    size_t start = 0;
    for (size_t at = 0; at <= name.size(); ++at)
        if (at == name.size() || name[at] == '/' || name[at] == '\\') {
            if (name.substr(start, at - start) == "..") return true;
            start = at + 1;
        }
    return false;
}

// A file opened for reading, through the C library's buffering.
class TFileStream : public Assimp::IOStream {
public:
    TFileStream(std::FILE* file, size_t size) : File(file), Size(size) {}
    ~TFileStream() override { std::fclose(File); }

    size_t Read(void* Buffer, size_t ItemSize, size_t Count) override
    {
        return ItemSize == 0 ? 0 : std::fread(Buffer, ItemSize, Count, File);
    }
    size_t Write(const void*, size_t, size_t) override { return 0; }
    aiReturn Seek(size_t Offset, aiOrigin Origin) override
    {
        const int whence = Origin == aiOrigin_CUR ? SEEK_CUR : Origin == aiOrigin_END ? SEEK_END : SEEK_SET;
        return fseeko(File, static_cast<off_t>(Offset), whence) == 0 ? aiReturn_SUCCESS : aiReturn_FAILURE;
    }
    size_t Tell() const override { return static_cast<size_t>(ftello(File)); }
    size_t FileSize() const override { return Size; }
    void Flush() override {}

private:
    std::FILE* File;
    size_t Size;
};

} // namespace

std::string PercentDecode(std::string_view Text)
{
    std::string decoded;
    for (size_t at = 0; at < Text.size(); ++at) {
        const int high = at + 2 < Text.size() && Text[at] == '%' ? HexDigit(Text[at + 1]) : -1;
        const int low = high >= 0 ? HexDigit(Text[at + 2]) : -1;
        if (low < 0) {
            decoded += Text[at];
            continue;
        }
        decoded += static_cast<char>(high * 16 + low);
        at += 2;
    }
    return decoded;
}

TFolderPath ResolveInFolder(const std::string& Folder, const std::string& CanonicalFolder, std::string_view Request,
                            bool DecodeUris)
{
    const std::string prefix = Folder + "/";
    if (!Request.starts_with(prefix)) return {{}, std::string(Request)};
    const std::string_view asked = Request.substr(prefix.size());
    const std::string name = DecodeUris ? PercentDecode(asked) : std::string(asked);
    if (name.empty() || name[0] == '/' || ClimbsUp(name) || name.find('\0') != std::string::npos) return {{}, name};
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(prefix + name, error);
    const std::string inside = CanonicalFolder.ends_with('/') ? CanonicalFolder : CanonicalFolder + "/";
    if (error || !resolved.native().starts_with(inside)) return {{}, name};
    return {resolved.native(), {}};
}

TFolderIOSystem::TFolderIOSystem(const std::string& modelPath, bool decodeUris)
    : ModelPath(modelPath), Folder(modelPath.substr(0, modelPath.rfind('/'))), DecodeUris(decodeUris)
{
    std::error_code error;
    CanonicalFolder = std::filesystem::weakly_canonical(Folder.empty() ? "/" : Folder, error).native();
}

std::string TFolderIOSystem::Where(const char* File) const
{
    if (File == ModelPath) return ModelPath;
    TFolderPath path = ResolveInFolder(Folder, CanonicalFolder, File, DecodeUris);
    if (!path.Refused.empty() && std::find(RefusedNames.begin(), RefusedNames.end(), path.Refused) == RefusedNames.end())
        RefusedNames.push_back(path.Refused);
    return path.Path;
}

bool TFolderIOSystem::Exists(const char* File) const
{
    const std::string path = Where(File);
    struct stat status;
    return !path.empty() && stat(path.c_str(), &status) == 0;
}

Assimp::IOStream* TFolderIOSystem::Open(const char* File, const char* Mode)
{
    if (std::string_view(Mode).find_first_of("wa+") != std::string_view::npos) return nullptr;
    const std::string path = Where(File);
    if (path.empty()) return nullptr;
    // Opened without blocking, so that a FIFO in the folder cannot stop the import; only a regular file is read.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return nullptr;
    struct stat status;
    std::FILE* file = nullptr;
    if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) file = fdopen(fd, "rb");
    if (!file) {
        close(fd);
        return nullptr;
    }
    return new TFileStream(file, static_cast<size_t>(status.st_size));
}

void TFolderIOSystem::Close(Assimp::IOStream* File) { delete File; }

} // namespace verdel
