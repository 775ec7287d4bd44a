#include "formats/assimp_export.h"

#include <cerrno>
#include <cstring>
#include <deque>
#include <fstream>
#include <stdexcept>

#include <assimp/Exporter.hpp>
#include <assimp/IOStream.hpp>
#include <assimp/IOSystem.hpp>

namespace verdel {

namespace {

// A file being written into a string, with the seeking that the binary
// writers use to fill in their headers last.
class TMemoryStream : public Assimp::IOStream {
public:
    explicit TMemoryStream(std::string& bytes) : Bytes(bytes) {}

    size_t Read(void*, size_t, size_t) override { return 0; }

    size_t Write(const void* buffer, size_t size, size_t count) override
    {
        const size_t length = size * count;
        if (Position + length > Bytes.size()) Bytes.resize(Position + length);
        std::memcpy(Bytes.data() + Position, buffer, length);
        Position += length;
        return count;
    }

    aiReturn Seek(size_t offset, aiOrigin origin) override
    {
        // As in a file, a seek past the end leaves a gap that the next write fills with zeros.
        const size_t base = origin == aiOrigin_CUR ? Position : origin == aiOrigin_END ? Bytes.size() : 0;
        Position = base + offset;
        return aiReturn_SUCCESS;
    }

    size_t Tell() const override { return Position; }
    size_t FileSize() const override { return Bytes.size(); }
    void Flush() override {}

private:
    std::string& Bytes;
    size_t Position = 0;
};

// A file written straight to disk after a prefix; positions leave the prefix out.
class TFileStream : public Assimp::IOStream {
public:
    TFileStream(std::ofstream&& file, size_t prefix, std::string& failure)
            : File(std::move(file)), PrefixLength(prefix), Failure(failure)
    {}

    ~TFileStream() override
    {
        File.close();
        if (!File && Failure.empty()) Failure = "write error";
    }

    size_t Read(void*, size_t, size_t) override { return 0; }

    size_t Write(const void* buffer, size_t size, size_t count) override
    {
        File.write(static_cast<const char*>(buffer), static_cast<std::streamsize>(size * count));
        return File ? count : 0;
    }

    aiReturn Seek(size_t offset, aiOrigin origin) override
    {
        const auto way = origin == aiOrigin_CUR   ? std::ios::cur
                         : origin == aiOrigin_END ? std::ios::end
                                                  : std::ios::beg;
        File.seekp(static_cast<std::streamoff>(offset + (origin == aiOrigin_SET ? PrefixLength : 0)), way);
        return File ? aiReturn_SUCCESS : aiReturn_FAILURE;
    }

    size_t Tell() const override { return static_cast<size_t>(File.tellp()) - PrefixLength; }

    size_t FileSize() const override { return Tell(); }
    void Flush() override { File.flush(); }

private:
    mutable std::ofstream File; // tellp is not const
    size_t PrefixLength;
    std::string& Failure;
};

// A file the exporter wrote, by where its bytes went.
struct TExportedFile {
    std::string Path;
    bool InMemory = false;
    std::string Bytes;   // the contents, when in memory
    std::string Failure; // the first write error, when on disk
};

// Hands the exporter memory or file streams as the policy says; reading is refused.
class TExportIOSystem : public Assimp::IOSystem {
public:
    TExportIOSystem(std::deque<TExportedFile>& files, const TFilePolicy& policy) : Files(files), Policy(policy) {}

    bool Exists(const char* file) const override
    {
        for (const TExportedFile& f : Files)
            if (f.Path == file) return true;
        return false;
    }

    char getOsSeparator() const override { return '/'; }

    Assimp::IOStream* Open(const char* file, const char* mode) override
    {
        if (!mode || !std::strchr(mode, 'w')) return nullptr;
        const TFileHandling handling = Policy(file);
        TExportedFile& exported = Files.emplace_back();
        exported.Path = file;
        exported.InMemory = handling.InMemory;
        if (handling.InMemory) return new TMemoryStream(exported.Bytes);
        std::ofstream stream(file, std::ios::binary | std::ios::trunc);
        if (!stream) {
            exported.Failure = std::strerror(errno);
            return nullptr;
        }
        stream.write(handling.Prefix.data(), static_cast<std::streamsize>(handling.Prefix.size()));
        return new TFileStream(std::move(stream), handling.Prefix.size(), exported.Failure);
    }

    void Close(Assimp::IOStream* stream) override { delete stream; }

private:
    std::deque<TExportedFile>& Files;
    const TFilePolicy& Policy;
};

} // namespace

std::vector<TCapturedFile> RunAssimpExport(const aiScene& Scene, const char* FormatId, const std::string& FileName,
                                           const TFilePolicy& Policy)
{
    std::deque<TExportedFile> files;
    {
        Assimp::Exporter exporter;
        exporter.SetIOHandler(new TExportIOSystem(files, Policy)); // the exporter owns it
        const bool done = exporter.Export(&Scene, FormatId, FileName.c_str()) == aiReturn_SUCCESS;
        for (const TExportedFile& file : files)
            if (!file.Failure.empty()) throw std::runtime_error(file.Path + ": " + file.Failure);
        if (!done) {
            const std::string reason = exporter.GetErrorString();
            throw std::runtime_error(FileName + ": " + (reason.empty() ? "the mesh could not be written" : reason));
        }
    }
    std::vector<TCapturedFile> captured;
    for (TExportedFile& file : files)
        if (file.InMemory) captured.push_back({std::move(file.Path), std::move(file.Bytes)});
    return captured;
}

} // namespace verdel
