// Interrupted work: a full disk or Ctrl+C at a chosen byte, and companions
// that hold something else, leave every old file as it was and no temporary;
// Ctrl+C while a definition is rewritten stops the tool cleanly.
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

// How work is cut short: no file the child writes may grow beyond Limit
// bytes. The kernel then fails the write (EFBIG, as a full disk fails it:
// the batch tool ignores SIGXFSZ) or, for CtrlC and Terminate, raises the
// signal at that very byte with the handler of Ctrl+C or of SIGTERM installed
// for it. CtrlCAtProgress sends Ctrl+C once the child reports progress.
enum class TFault { None, FullDisk, CtrlC, Terminate, CtrlCAtProgress };

// Runs Work in a child process in Folder with the fault; its exit status and standard error.
// Work that returns ends the child with 0.
TCliRun RunChild(TFault fault, rlim_t limit, const std::string& folder, const std::function<void()>& work)
{
    int err[2];
    if (pipe(err) != 0) return {};
    const pid_t child = fork();
    if (child == 0) {
        dup2(err[1], STDERR_FILENO);
        close(err[0]);
        if (chdir(folder.c_str()) != 0) _exit(126);
        if (fault == TFault::CtrlC || fault == TFault::Terminate) {
            cli::InstallInterruptHandler();
            struct sigaction handler {};
            sigaction(fault == TFault::CtrlC ? SIGINT : SIGTERM, nullptr, &handler);
            sigaction(SIGXFSZ, &handler, nullptr);
        }
        const rlimit size{limit, limit};
        if (limit > 0) setrlimit(RLIMIT_FSIZE, &size);
        work();
        _exit(0);
    }
    close(err[1]);
    TCliRun run;
    char buffer[256];
    for (ssize_t n; (n = read(err[0], buffer, sizeof buffer)) > 0;) {
        run.Err.append(buffer, static_cast<size_t>(n));
        if (fault == TFault::CtrlCAtProgress && run.Err.find("progress: rewriting") != std::string::npos) {
            kill(child, SIGINT);
            fault = TFault::None;
        }
    }
    close(err[0]);
    int status = 0;
    waitpid(child, &status, 0);
    run.Exit = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
    return run;
}

// A definition whose rewriting takes minutes: 262,144 pairs "PQ" with P=QXXX,
// Q=P and X erased are always 1,310,720 characters, but P and Q each reach
// four, so only single steps are sure to stay within the limit; letters in
// cycles of 7, 8, 9, 11, 13, 17 and 19 whose first letter drops an erased Y
// give the lengths a period of 27,713,256 steps.
void WriteSlowDefinition(const std::string& path)
{
    const std::string letters =
        "ABCDEFGHIJKLMNORSTUVWZabcdefghijklmnopqrstuvwxyz0123456789!$%&'()*+-.:;<>?[]^_{|}~\"\\";
    std::string axiom, rules = "P=QXXX\nQ=P\nX=\nY=\n";
    for (int k = 0; k < 262'144; ++k) axiom += "PQ";
    size_t first = 0;
    for (const size_t length : {7, 8, 9, 11, 13, 17, 19}) {
        axiom += letters[first];
        for (size_t k = 0; k < length; ++k)
            rules +=
                std::string(1, letters[first + k]) + "=" + letters[first + (k + 1) % length] + (k ? "" : "Y") + "\n";
        first += length;
    }
    std::ofstream(path) << "2000000000\n0\n0\n" << axiom << "\n" << rules << "@\n";
}

// Work that runs the batch tool with these arguments.
std::function<void()> Cli(const std::string& line)
{
    return [args = Words(line)]() mutable {
        std::vector<char*> argv{const_cast<char*>(VERDEL_CLI)};
        for (std::string& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        execv(VERDEL_CLI, argv.data());
        _exit(127);
    };
}

} // namespace

TEST(InterruptedWrites, OldFilesStayAndNoTemporaryIsLeft)
{
    const TTempFolder temp("interrupted");
    const std::string folder = temp.Path() + "/";
    std::ofstream(folder + "tree.vd") << "3\n30\n10\nF\nF=F[&F]>>>[&F]\n@\n";
    WriteSlowDefinition(folder + "slow.vd");
    TStoreBuilder blocks;
    for (int k = 0; k < 40; ++k) blocks.AddBlock(1);
    const std::vector<std::string> old = Words("x.dxf x.bmp x.jpg x.obj x.mtl x.gltf x.bin x.gif Text01.jpg");
    // Each row runs in the folder: its names are the files there.
    const struct {
        const char* Name;
        TFault Fault;
        rlim_t Limit;
        std::function<void()> Work;
        int Exit;
        const char* Message;
        const char* Replaced;
    } rows[] = {
        {"DXF", TFault::FullDisk, 4096, Cli("dxf tree.vd -o x.dxf"), 5, "x.dxf: File too large", ""},
        {"BMP", TFault::FullDisk, 4096, Cli("render tree.vd -o x.bmp --size 64x64"), 5, "x.bmp: File too large", ""},
        {"JPEG", TFault::FullDisk, 256, Cli("render tree.vd -o x.jpg --size 64x64"), 5, "x.jpg: File too large", ""},
        {"OBJ and MTL", TFault::FullDisk, 4096, Cli("export tree.vd -o x.obj"), 5, "x.obj: File too large", ""},
        {"glTF and its buffer", TFault::FullDisk, 4096, Cli("export tree.vd -o x.gltf"), 5, "File too large", ""},
        {"GIF of grow", TFault::FullDisk, 2048, Cli("grow tree.vd -o frames --frames 8 --size 32x32 --gif x.gif"), 5,
         "x.gif: File too large", ""},
        // Writing through the core in the child itself, whose handler ends it at the limit.
        {"Ctrl+C in a DXF", TFault::CtrlC, 4096, [&] { WriteDXFFile(*blocks.Store, "x.dxf", "dxf"); }, 130,
         "Interrupted\n", ""},
        {"Ctrl+C in OBJ and MTL", TFault::CtrlC, 4096, [&] { ExportMesh(*blocks.Store, "x.obj", {}); }, 130,
         "Interrupted\n", ""},
        // Ends by the signal itself, as without a handler, once the temporaries are gone.
        {"SIGTERM in OBJ and MTL", TFault::Terminate, 4096, [&] { ExportMesh(*blocks.Store, "x.obj", {}); },
         1000 + SIGXFSZ, "", ""},
        {"companions holding something else", TFault::None, 0, Cli("export tree.vd -o x.obj"), 5,
         "x.obj: not written; these files exist with other content: x.mtl, Text01.jpg (--overwrite replaces them)\n",
         ""},
        {"--overwrite", TFault::None, 0, Cli("export tree.vd -o x.obj --overwrite"), 0, "", "x.obj x.mtl Text01.jpg"},
        // The rewriting polls the token the handler cancels.
        {"Ctrl+C in produce", TFault::CtrlCAtProgress, 0, Cli("produce --progress slow.vd"), 130, "Interrupted\n", ""},
        {"Ctrl+C in stats", TFault::CtrlCAtProgress, 0, Cli("stats --progress slow.vd"), 130, "Interrupted\n", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        for (const std::string& name : old) {
            std::ofstream(folder + name) << "old " << name;
            fs::permissions(folder + name, fs::perms(0640));
        }
        const TCliRun run = RunChild(row.Fault, row.Limit, folder, row.Work);
        EXPECT_EQ(run.Exit, row.Exit) << run.Err;
        EXPECT_NE(run.Err.find(row.Message), std::string::npos) << run.Err;
        const std::vector<std::string> replaced = Words(row.Replaced);
        for (const std::string& name : old) {
            const bool kept = std::find(replaced.begin(), replaced.end(), name) == replaced.end();
            EXPECT_EQ(ReadWholeFile(folder + name) == "old " + name, kept) << name;
            EXPECT_EQ(fs::status(folder + name).permissions(), fs::perms(0640)) << name;
        }
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path();
    }
}

// A pipe or a device named as the output (-o /dev/null) is written into: a
// file renamed over it would replace it, and as root that destroys a device.
TEST(InterruptedWrites, APipeNamedAsTheOutputIsWrittenIntoAndStaysAPipe)
{
    const TTempFolder temp("pipe-output");
    const std::string pipe = temp.Path() + "/out.dxf";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    // The read end opens first without waiting, so the tool's open does not block; room for the whole file.
    const int reader = open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    fcntl(reader, F_SETPIPE_SZ, 1 << 20);
    const TCliRun run = RunCli({"dxf", Fixture("lf.vd"), "-o", pipe});
    EXPECT_EQ(run.Exit, 0) << run.Err;
    struct stat status {};
    EXPECT_TRUE(stat(pipe.c_str(), &status) == 0 && S_ISFIFO(status.st_mode));
    char head[8] = {};
    EXPECT_GT(read(reader, head, sizeof head), 0);
    close(reader);
}
