// Reading a foreign mesh file: Verdel's own checks, then the mesh library in
// the importer child, then the face store built from the child's reply.
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string_view>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "formats/import_reply.h"
#include "formats/import_sandbox.h"
#include "formats/mesh_checks.h"
#include "formats/model_reader.h"

namespace verdel {

namespace {

// Verdel's words for the mesh library's messages, by a piece of their text.
struct TLibraryWords {
    const char* Says;
    const char* Means;
};

constexpr TLibraryWords LibraryWords[] = {
    {"No suitable reader found", "unknown format"},
    {"mNumMeshes is 0", "no meshes in the file"},
    {"contains no faces", "no faces in the file"},
    {"contains no vertices", "no vertices in the file"},
    {"end of file", "the file ends too early"},
    {"End of file", "the file ends too early"},
    {"EOF", "the file ends too early"},
    {"too small", "the file ends too early"},
    {"Unable to open", "the file cannot be opened"},
    {"bad_alloc", "the importer needs more memory than it may use"},
};

// The message of a file the library refused: Verdel's words, the library's in the details.
std::string LibraryFailure(std::string text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
    std::string reason = "the file cannot be read";
    for (const TLibraryWords& words : LibraryWords)
        if (text.find(words.Says) != std::string::npos) {
            reason = words.Means;
            break;
        }
    return text.empty() ? reason : reason + " (details: " + text + ")";
}

std::string Size(uint64_t bytes)
{
    if (bytes % (1ull << 30) == 0) return std::to_string(bytes >> 30) + " GB";
    return std::to_string(bytes >> 20) + " MB";
}

// The file mapped into memory for the checks; a file that is no regular file is refused by name.
class TMappedFile {
public:
    explicit TMappedFile(const std::string& name)
    {
        // Opened without blocking, so that a FIFO cannot stop the reader.
        const int fd = open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) throw std::runtime_error(name + ": " + std::strerror(errno));
        struct stat status;
        const bool known = fstat(fd, &status) == 0;
        const std::string fault = !known                     ? std::strerror(errno)
                                  : S_ISDIR(status.st_mode)  ? "is a folder, not a model file"
                                  : !S_ISREG(status.st_mode) ? "is not a regular file"
                                                             : "";
        if (fault.empty() && status.st_size > 0) {
            Size = static_cast<size_t>(status.st_size);
            Data = mmap(nullptr, Size, PROT_READ, MAP_PRIVATE, fd, 0);
        }
        const int mapError = errno;
        close(fd);
        if (!fault.empty()) throw EModelError(name + ": " + fault);
        if (Size > 0 && Data == MAP_FAILED) throw std::runtime_error(name + ": " + std::strerror(mapError));
    }
    ~TMappedFile()
    {
        if (Data != MAP_FAILED) munmap(Data, Size);
    }
    TMappedFile(const TMappedFile&) = delete;
    TMappedFile& operator=(const TMappedFile&) = delete;

    std::string_view Bytes() const
    {
        return Data == MAP_FAILED ? std::string_view() : std::string_view(static_cast<const char*>(Data), Size);
    }

private:
    void* Data = MAP_FAILED;
    size_t Size = 0;
};

// The message of a child run that ended without a reply.
std::string ChildFailure(TChildEnd end, const TImportLimits& limits)
{
    switch (end) {
    case TChildEnd::TimedOut: return "the importer took longer than " + std::to_string(limits.CpuSeconds) + " s";
    case TChildEnd::OutOfMemory: return "the importer needs more than " + Size(limits.MemoryBytes);
    case TChildEnd::TooLarge: return "the model is larger than the " + Size(limits.ReplyBytes) + " the importer may send";
    default: return "the importer crashed";
    }
}

std::string ReplyFailure(const EImportFailure& failure, const TImportLimits& limits)
{
    switch (failure.Kind) {
    case TImportFailure::Refused:
        return "refers to \"" + std::string(failure.what()) + "\", which is not in the model's folder";
    case TImportFailure::TooLarge: return ChildFailure(TChildEnd::TooLarge, limits);
    default: return LibraryFailure(failure.what());
    }
}

// Refuses the file before the library sees it.
void CheckFile(const std::string& fileName)
{
    const TMappedFile file(fileName);
    if (!IsForeignModel(fileName))
        throw EModelError(fileName + ": unknown format: Verdel reads DXF, OBJ, STL, PLY, OFF, glTF, GLB, 3DS, Collada "
                                     "(.dae) and FBX files");
    const std::string fault = MeshFileFault(file.Bytes(), LowerExtension(fileName));
    if (!fault.empty()) throw EModelError(fileName + ": " + fault);
}

} // namespace

bool ReadForeignModelFile(TFaceStore& Store, const std::string& FileName, const TCancelToken& Cancel)
{
    FreeScene(Store);
    Store.LayerUsed.fill(false);
    CheckFile(FileName);
    const TImportLimits limits;
    const TChildRun run = RunImportChild(ImportHelperPath(), std::filesystem::absolute(FileName).native(), limits,
                                         Cancel);
    if (run.End == TChildEnd::Cancelled) return false;
    if (run.End != TChildEnd::Replied) throw EModelError(FileName + ": " + ChildFailure(run.End, limits));
    try {
        StorePlacedMeshes([&run](const auto& visit) { ReadReply(run.Reply, visit); }, Store, FileName);
    } catch (const EImportFailure& failure) {
        throw EModelError(FileName + ": " + ReplyFailure(failure, limits));
    } catch (const EModelError&) {
        throw;
    } catch (const std::runtime_error&) {
        throw EModelError(FileName + ": the importer crashed (details: its reply is damaged)");
    }
    return true;
}

void ReadForeignModelFile(TFaceStore& Store, const std::string& FileName)
{
    const TCancelToken never;
    ReadForeignModelFile(Store, FileName, never);
}

} // namespace verdel
