// Interrupted writes: a full disk or Ctrl+C at a chosen byte, and companions
// that hold something else, leave every old file as it was and no temporary.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>

#include "cli/interrupt.h"
#include "formats/dxf_writer.h"
#include "formats/mesh_export.h"
#include "formats/store_builder.h"
#include "support/run_cli.h"

using namespace verdel;
using namespace verdel::test;
namespace fs = std::filesystem;

namespace {

// How a write is cut short: no file the child writes may grow beyond Limit
// bytes. The kernel then fails the write (EFBIG, as a full disk fails it:
// the batch tool ignores SIGXFSZ) or, for CtrlC, raises the signal at that
// very byte with the batch tool's Ctrl+C handler installed for it.
enum class TFault { None, FullDisk, CtrlC };

// Runs Work in a child process with the fault; its exit status and standard error.
TCliRun RunChild(TFault fault, rlim_t limit, const std::function<int()>& work, const std::string& errFile)
{
    const pid_t child = fork();
    if (child == 0) {
        dup2(open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDERR_FILENO);
        if (fault == TFault::CtrlC) {
            cli::InstallInterruptHandler();
            struct sigaction interrupt {};
            sigaction(SIGINT, nullptr, &interrupt);
            sigaction(SIGXFSZ, &interrupt, nullptr);
        }
        const rlimit size{limit, limit};
        if (fault != TFault::None) setrlimit(RLIMIT_FSIZE, &size);
        _exit(work());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status), "", ReadWholeFile(errFile)};
}

// Work that runs the batch tool with these arguments.
std::function<int()> Cli(std::vector<std::string> args)
{
    return [args]() mutable {
        std::vector<char*> argv{const_cast<char*>(VERDEL_CLI)};
        for (std::string& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        execv(VERDEL_CLI, argv.data());
        return 127;
    };
}

// Work that writes through the core in this process, failures as the batch tool reports them.
std::function<int()> Core(std::function<void()> write)
{
    return [write] {
        try {
            write();
            return 0;
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s\n", error.what());
            return 5;
        }
    };
}

} // namespace

TEST(InterruptedWrites, OldFilesStayAndNoTemporaryIsLeft)
{
    const std::string folder = "/tmp/verdel-interrupted-" + std::to_string(getpid()) + "/";
    const std::string definition = folder + "tree.vd", frames = folder + "frames/";
    fs::remove_all(folder);
    fs::create_directories(frames);
    std::ofstream(definition) << "3\n30\n10\nF\nF=F[&F]>>>[&F]\n@\n";
    TStoreBuilder blocks;
    for (int k = 0; k < 40; ++k) blocks.AddBlock(1);
    const std::vector<std::string> old = {"x.dxf", "x.bmp", "x.jpg", "x.obj", "x.mtl",
                                          "x.gltf", "x.bin", "x.gif", "Text01.jpg"};
    const struct {
        const char* Name;
        TFault Fault;
        rlim_t Limit;
        std::function<int()> Work;
        int Exit;
        std::string Message;
        std::vector<std::string> Replaced;
    } rows[] = {
        {"dxf, full disk", TFault::FullDisk, 4096, Cli({"dxf", definition, "-o", folder + "x.dxf"}), 5,
         folder + "x.dxf: File too large", {}},
        {"BMP, full disk", TFault::FullDisk, 4096,
         Cli({"render", definition, "-o", folder + "x.bmp", "--size", "64x64"}), 5, folder + "x.bmp: File too large", {}},
        {"JPEG, full disk", TFault::FullDisk, 256,
         Cli({"render", definition, "-o", folder + "x.jpg", "--size", "64x64"}), 5, folder + "x.jpg: File too large", {}},
        {"OBJ and MTL, full disk", TFault::FullDisk, 4096, Cli({"export", definition, "-o", folder + "x.obj"}), 5,
         folder + "x.obj: File too large", {}},
        {"glTF and its buffer, full disk", TFault::FullDisk, 4096,
         Cli({"export", definition, "-o", folder + "x.gltf"}), 5, "File too large", {}},
        {"GIF of grow, full disk", TFault::FullDisk, 2048,
         Cli({"grow", definition, "-o", frames, "--frames", "8", "--size", "32x32", "--gif", folder + "x.gif"}), 5,
         folder + "x.gif: File too large", {}},
        {"Ctrl+C writing a DXF", TFault::CtrlC, 4096,
         Core([&] { WriteDXFFile(*blocks.Store, folder + "x.dxf", "dxf"); }), 130, "Interrupted\n", {}},
        {"Ctrl+C exporting OBJ and MTL", TFault::CtrlC, 4096,
         Core([&] { ExportMesh(*blocks.Store, folder + "x.obj", {}); }), 130, "Interrupted\n", {}},
        {"companions holding something else", TFault::None, 0, Cli({"export", definition, "-o", folder + "x.obj"}),
         5, folder + "x.obj: not written; these files exist with other content: " + folder + "x.mtl, " + folder +
                "Text01.jpg (--overwrite replaces them)\n", {}},
        {"--overwrite", TFault::None, 0, Cli({"export", definition, "-o", folder + "x.obj", "--overwrite"}), 0, "",
         {"x.obj", "x.mtl", "Text01.jpg"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        for (const std::string& name : old) {
            std::ofstream(folder + name) << "old " << name;
            fs::permissions(folder + name, fs::perms(0640));
        }
        const TCliRun run = RunChild(row.Fault, row.Limit, row.Work, folder + "err.txt");
        EXPECT_EQ(run.Exit, row.Exit) << run.Err;
        EXPECT_NE(run.Err.find(row.Message), std::string::npos) << run.Err;
        for (const std::string& name : old) {
            const bool replaced = std::count(row.Replaced.begin(), row.Replaced.end(), name) > 0;
            EXPECT_EQ(ReadWholeFile(folder + name) == "old " + name, !replaced) << name;
            EXPECT_EQ(fs::status(folder + name).permissions(), fs::perms(0640)) << name;
        }
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path();
    }
    fs::remove_all(folder);
}
