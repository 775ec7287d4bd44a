// Files written whole or not at all: a temporary file beside the target, renamed over it when complete.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>

namespace verdel {

// A file written under a temporary name in the target's own folder
// (".name.XXXXXX") and renamed over the target by Commit only when every byte
// is written, flushed and synced to the disk; until then an old file of that
// name stays as it was. Destroyed without Commit (after an exception, a failed
// write, a refusal) it removes the temporary. While it exists its name is
// listed where RemoveTemporaryFiles finds it. Failures throw
// std::runtime_error "FileName: reason". A symbolic link as the target is
// followed: the file it points to is replaced, the link stays. A target that
// is a device or a pipe is written straight into instead.
class TAtomicFile {
public:
    explicit TAtomicFile(const std::string& FileName);
    ~TAtomicFile();
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;

    // The stream the content goes to; it turns bad at the first failed write.
    std::ostream& Stream() { return *Out; }
    // The name the file takes when committed, as given.
    const std::string& FileName() const { return Name; }

    // Runs Writer on the stream. When a write to the file failed, the file's
    // own error ("x.dxf: No space left on device") is thrown instead of what
    // the writer made of it; any other exception passes unchanged.
    void Write(const std::function<void(std::ostream&)>& Writer);
    // Throws the file's error when a write to it failed.
    void ThrowIfFailed() const;

    // Flushes, syncs and closes the temporary and gives it the permissions of
    // the file it replaces; the target is not touched yet.
    void Close();
    // True when the closed temporary holds exactly the target's current bytes.
    bool SameAsTarget() const;
    // Closes the temporary when still open and renames it over the target.
    void Commit();
    // Removes the temporary without touching the target.
    void Discard();

private:
    class TBuffer;

    std::string Name;
    std::string Target; // absolute: the file Name stands for
    std::string Temporary;
    int Fd = -1;
    int Slot = -1; // in the list RemoveTemporaryFiles reads
    std::unique_ptr<TBuffer> Buffer;
    std::unique_ptr<std::ostream> Out;
    bool Closed = false;
    bool Done = false; // committed or discarded
    bool Direct = false; // the target is a device or pipe, written without a temporary
};

// Removes every temporary file a TAtomicFile is still writing. Only
// async-signal-safe calls: a signal handler that ends the process calls it
// first, so an interrupted write leaves the old file and no temporary.
void RemoveTemporaryFiles() noexcept;

// Makes SIGTERM, SIGHUP and SIGQUIT remove the temporaries before the process
// ends by that signal, as it would have without the handler. Signals that
// were ignored when the program started stay ignored.
void RemoveTemporaryFilesOnTermination();

} // namespace verdel
