#include "engine/atomic_file.h"

#include <fcntl.h>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <vector>

namespace verdel {

namespace fs = std::filesystem;

namespace {

// The temporaries being written, for a signal handler: a fixed table of
// names, each slot claimed and released through a lock-free atomic, so the
// handler reads no memory that is being freed or reallocated.
enum TSlotState : int { SlotFree, SlotFilling, SlotListed };
struct TSlot {
    std::atomic<int> State{SlotFree};
    char Name[PATH_MAX];
};
static_assert(std::atomic<int>::is_always_lock_free);
constexpr size_t SlotCount = 128;
std::array<TSlot, SlotCount> Slots;

// Lists Name in a free slot; -1 when none is free or the name is too long
// (such a file is written all the same, only not removed by a handler).
int ListTemporary(const std::string& name)
{
    if (name.size() >= PATH_MAX) return -1;
    for (size_t i = 0; i < SlotCount; ++i) {
        int expected = SlotFree;
        if (!Slots[i].State.compare_exchange_strong(expected, SlotFilling)) continue;
        std::memcpy(Slots[i].Name, name.c_str(), name.size() + 1);
        Slots[i].State.store(SlotListed);
        return static_cast<int>(i);
    }
    return -1;
}

void Unlist(int slot)
{
    if (slot >= 0) Slots[static_cast<size_t>(slot)].State.store(SlotFree);
}

// The rename is on the disk only once the folder holding it is; a failure
// here leaves the new file in place, so it is not reported.
void SyncFolder(const fs::path& folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    [[maybe_unused]] const int synced = ::fsync(fd);
    ::close(fd);
}

// ".name.Ab3xZ9" beside the target; the name is cut so the temporary's stays within the system's limit.
std::string TemporaryName(const fs::path& target)
{
    static constexpr char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 draw{std::random_device{}()};
    std::uniform_int_distribution<size_t> pick(0, sizeof letters - 2);
    std::string name(1, '.');
    name.append(target.filename().string(), 0, 200);
    name += '.';
    for (int k = 0; k < 6; ++k) name += letters[pick(draw)];
    return (target.parent_path() / name).string();
}

// The file FileName stands for: absolute (a later change of the working
// folder does not move it), a symbolic link followed to the file it names.
fs::path TargetOf(const std::string& fileName)
{
    std::error_code error;
    fs::path target = fs::absolute(fileName, error);
    if (error) target = fileName;
    if (fs::is_symlink(target, error)) {
        const fs::path resolved = fs::canonical(target, error);
        if (!error) target = resolved;
    }
    return target;
}

bool SameBytes(const std::string& first, const std::string& second)
{
    std::error_code error;
    const uintmax_t size = fs::file_size(first, error);
    if (error || fs::file_size(second, error) != size || error) return false;
    std::ifstream a(first, std::ios::binary), b(second, std::ios::binary);
    std::vector<char> left(1 << 16), right(1 << 16);
    while (a && b) {
        a.read(left.data(), static_cast<std::streamsize>(left.size()));
        b.read(right.data(), static_cast<std::streamsize>(right.size()));
        if (a.gcount() != b.gcount() || std::memcmp(left.data(), right.data(), static_cast<size_t>(a.gcount())) != 0)
            return false;
    }
    return !a.bad() && !b.bad() && a.eof() && b.eof();
}

} // namespace

// A stream buffer on the temporary's descriptor that keeps the first error of a write.
class TAtomicFile::TBuffer : public std::streambuf {
public:
    explicit TBuffer(int fd) : Fd(fd), Space(1 << 16) { setp(Space.data(), Space.data() + Space.size()); }

    // Writes what the buffer holds; false once any write has failed.
    bool Drain()
    {
        const bool written = WriteAll(pbase(), static_cast<size_t>(pptr() - pbase()));
        setp(Space.data(), Space.data() + Space.size());
        return written;
    }

    int Error = 0; // errno of the first failed write

protected:
    int_type overflow(int_type c) override
    {
        if (!Drain()) return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* data, std::streamsize size) override
    {
        if (size < epptr() - pptr()) {
            std::memcpy(pptr(), data, static_cast<size_t>(size));
            pbump(static_cast<int>(size));
            return size;
        }
        // A large piece goes to the file as it is, without a copy.
        return Drain() && WriteAll(data, static_cast<size_t>(size)) ? size : 0;
    }
    int sync() override { return Drain() ? 0 : -1; }

private:
    bool WriteAll(const char* data, size_t size)
    {
        while (size > 0 && Error == 0) {
            const ssize_t written = ::write(Fd, data, size);
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) {
                Error = written < 0 ? errno : EIO;
                break;
            }
            data += written;
            size -= static_cast<size_t>(written);
            Written += written;
        }
        StartWriteBack();
        return Error == 0;
    }

    // Hands every complete stretch of WriteBackStep bytes to the disk while
    // writing goes on, so the sync at the end waits only for the last one.
    void StartWriteBack()
    {
        if (Written - Started < WriteBackStep) return;
        ::sync_file_range(Fd, Started, Written - Started, SYNC_FILE_RANGE_WRITE);
        Started = Written;
    }

    static constexpr off_t WriteBackStep = 8 << 20;
    int Fd;
    std::vector<char> Space;
    off_t Written = 0; // bytes in the file
    off_t Started = 0; // bytes whose write-back has begun
};

namespace {

[[noreturn]] void Fail(const std::string& name, int error)
{
    throw std::runtime_error(name + ": " + std::strerror(error));
}

} // namespace

TAtomicFile::TAtomicFile(const std::string& FileName) : Name(FileName), Target(TargetOf(FileName).string())
{
    std::error_code error;
    // The rename would fail at the end; a folder is refused before anything is written.
    if (fs::is_directory(Target, error)) Fail(Name, EISDIR);
    // A write-protected file stays protected: the rename would replace it where writing could not.
    if (::access(Target.c_str(), F_OK) == 0 && ::access(Target.c_str(), W_OK) != 0) Fail(Name, errno);
    struct stat existing {};
    if (::stat(Target.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        // A device or a pipe (/dev/null, /dev/stdout, a FIFO) is written
        // straight into: a file renamed over it would replace the device.
        Direct = true;
        Fd = ::open(Target.c_str(), O_WRONLY | O_CLOEXEC);
        if (Fd < 0) Fail(Name, errno);
        Buffer = std::make_unique<TBuffer>(Fd);
        Out = std::make_unique<std::ostream>(Buffer.get());
        return;
    }
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        Unlist(Slot);
        Temporary = TemporaryName(Target);
        // Listed before it exists, so no moment passes in which a handler would miss it.
        Slot = ListTemporary(Temporary);
        fd = ::open(Temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        const int reason = errno;
        Unlist(Slot);
        Fail(Name, reason);
    }
    Fd = fd;
    Buffer = std::make_unique<TBuffer>(fd);
    Out = std::make_unique<std::ostream>(Buffer.get());
}

TAtomicFile::~TAtomicFile()
{
    if (!Done) Discard();
}

void TAtomicFile::Write(const std::function<void(std::ostream&)>& Writer)
{
    try {
        Writer(*Out);
    } catch (...) {
        ThrowIfFailed();
        throw;
    }
    ThrowIfFailed();
}

void TAtomicFile::ThrowIfFailed() const
{
    if (Buffer->Error != 0) Fail(Name, Buffer->Error);
    if (!*Out) throw std::runtime_error(Name + ": write error");
}

void TAtomicFile::Close()
{
    if (Closed) return;
    Out->flush();
    ThrowIfFailed();
    if (Direct) {
        Closed = true;
        if (::close(Fd) != 0 && errno != EINTR) Fail(Name, errno);
        return;
    }
    // A file system that cannot sync (EINVAL) has nothing to wait for.
    if (::fsync(Fd) != 0 && errno != EINVAL) Fail(Name, errno);
    struct stat old {};
    if (::stat(Target.c_str(), &old) == 0) {
        // The replaced file's owner and permissions, as far as this process may give them; a refusal loses nothing.
        [[maybe_unused]] const int owned = ::fchown(Fd, old.st_uid, old.st_gid);
        [[maybe_unused]] const int permitted = ::fchmod(Fd, old.st_mode & 07777);
    }
    Closed = true;
    // Linux releases the descriptor even when close reports EINTR.
    if (::close(Fd) != 0 && errno != EINTR) Fail(Name, errno);
}

// A device or pipe holds no content to lose: nothing asks before writing into it.
bool TAtomicFile::SameAsTarget() const { return Closed && (Direct || SameBytes(Temporary, Target)); }

void TAtomicFile::Commit()
{
    if (Done) throw std::logic_error(Name + ": committed or discarded twice");
    Close();
    if (Direct) {
        Done = true;
        return;
    }
    if (::rename(Temporary.c_str(), Target.c_str()) != 0) Fail(Name, errno);
    Done = true;
    Unlist(Slot);
    SyncFolder(fs::path(Target).parent_path());
}

void TAtomicFile::Discard()
{
    if (Done) return;
    if (!Closed) ::close(Fd);
    Closed = true;
    if (!Direct) ::unlink(Temporary.c_str());
    Done = true;
    Unlist(Slot);
}

void RemoveTemporaryFiles() noexcept
{
    for (TSlot& slot : Slots)
        if (slot.State.load() == SlotListed) ::unlink(slot.Name);
}

namespace {

extern "C" void OnTermination(int Signal)
{
    RemoveTemporaryFiles();
    // Ended by the same signal, with its default action, so the parent sees the usual status.
    ::signal(Signal, SIG_DFL);
    ::raise(Signal);
}

} // namespace

void RemoveTemporaryFilesOnTermination()
{
    struct sigaction action {};
    action.sa_handler = OnTermination;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGTERM, SIGHUP, SIGQUIT}) {
        struct sigaction previous {};
        // A signal the caller's parent chose to ignore stays ignored (nohup).
        if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
        ::sigaction(signal, &action, nullptr);
    }
}

} // namespace verdel
