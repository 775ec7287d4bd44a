// Running the mesh library in a child process under limits, so that a file
// that crashes it, keeps it busy or makes it allocate gigabytes ends the
// child only: the parent reads the child's reply over a pipe, stops it when
// a limit is passed or the work is cancelled, and always reaps it.
#pragma once

#include <cstdint>
#include <string>

#include "engine/cancel.h"

namespace verdel {

// What the importer child may use.
struct TImportLimits {
    int CpuSeconds = 20;               // processor time
    int WallSeconds = 30;              // time on the clock, for a child that waits rather than computes
    uint64_t MemoryBytes = 1ull << 30; // address space
    uint64_t ReplyBytes = 512ull << 20; // the reply's size
};

// How a child run ended.
enum class TChildEnd { Replied, Cancelled, Crashed, TimedOut, OutOfMemory, TooLarge };

struct TChildRun {
    TChildEnd End = TChildEnd::Crashed;
    std::string Reply; // what the child sent, when it Replied
};

// The descriptor the child writes its reply to.
constexpr int ReplyFd = 3;

// The child's exit status when an allocation failed.
constexpr int ChildOutOfMemory = 3;

// Whether the child's address space is limited; not under AddressSanitizer,
// which reserves terabytes of it for its shadow memory.
extern const bool ChildMemoryLimited;

// The importer program, verdel-import, in the running program's folder.
std::string ImportHelperPath();

// Starts Program with the limits and File as arguments, in a process group
// of its own, with the reply pipe on ReplyFd, standard input and output on
// /dev/null and no other descriptor of the parent, and reads its reply while
// it runs. Stops it (SIGKILL) at the wall-clock limit, when Cancel is
// cancelled (polled every 50 ms) or when the reply passes the limit, and
// reaps it in every case. A child killed by a signal after using its
// processor time, or exiting with ChildOutOfMemory, ends TimedOut or
// OutOfMemory; any other end without exit status 0 is a crash. Throws
// std::runtime_error only when the child cannot be started.
TChildRun RunImportChild(const std::string& Program, const std::string& File, const TImportLimits& Limits,
                         const TCancelToken& Cancel);

// In the child: reads the arguments RunImportChild passes, applies the
// limits to this process (address space, processor time, stack, no core
// files, no file written, killed when the parent ends, a failed allocation
// ends it with ChildOutOfMemory) and returns the file to read. Wrong
// arguments end the process with status 2 and a line on standard error.
std::string StartImportChild(int argc, char** argv, TImportLimits& Limits);

} // namespace verdel
