// The files the mesh library may read while it imports a model: the model
// file itself and files in the model's folder or below, nothing else.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <assimp/IOSystem.hpp>

namespace verdel {

// Text with its URI escapes decoded ("a%20b.bin" gives "a b.bin", "%C3%A4"
// the UTF-8 bytes of "ä"); a '%' without two hexadecimal digits stays as it is.
std::string PercentDecode(std::string_view Text);

// A name the library asks for, resolved against a model's folder.
struct TFolderPath {
    std::string Path;    // the file to open, with symbolic links resolved; empty when refused
    std::string Refused; // when refused: the name as the model refers to it ("../secret.bin")
};

// Resolves Request, a name the library built as Folder, "/" and a name the
// model refers to, against Folder (absolute, as the model was named) whose
// canonical form is CanonicalFolder. Refuses a request outside Folder, an
// absolute name, a ".." step (with '/' or '\' between steps), a NUL and a name
// whose symbolic links lead out of CanonicalFolder. With DecodeUris (glTF)
// the referred name is percent-decoded first, so "%2e%2e/x" is a ".." step too.
TFolderPath ResolveInFolder(const std::string& Folder, const std::string& CanonicalFolder, std::string_view Request,
                            bool DecodeUris);

// The IO system Assimp reads through: it opens ModelPath and, by
// ResolveInFolder, files below ModelPath's folder, only for reading and only
// regular files (a FIFO or a device never blocks the import). Every refused
// name is kept, in the order asked, for the import's message.
class TFolderIOSystem : public Assimp::IOSystem {
public:
    // ModelPath is absolute.
    TFolderIOSystem(const std::string& modelPath, bool decodeUris);

    bool Exists(const char* File) const override;
    char getOsSeparator() const override { return '/'; }
    Assimp::IOStream* Open(const char* File, const char* Mode = "rb") override;
    void Close(Assimp::IOStream* File) override;
    bool CreateDirectory(const std::string&) override { return false; }
    bool ChangeDirectory(const std::string&) override { return false; }
    bool DeleteFile(const std::string&) override { return false; }

    // The names refused so far, each once, as the model referred to them.
    const std::vector<std::string>& Refused() const { return RefusedNames; }

private:
    // The file to open for File, or "" (and the name noted) when refused.
    std::string Where(const char* File) const;

    std::string ModelPath, Folder, CanonicalFolder;
    bool DecodeUris;
    mutable std::vector<std::string> RefusedNames;
};

} // namespace verdel
