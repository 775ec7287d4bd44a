// Ctrl+C stops the batch tool cleanly with exit status 130.
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/run_cli.h"

using namespace verdel::test;

namespace {

// A definition whose rewriting takes minutes: 262,144 pairs "PQ" with P=QXXX,
// Q=P and X erased are always 1,310,720 characters, but P and Q each reach
// four, so only single steps are sure to stay within the limit; letters in
// cycles of 7, 8, 9, 11, 13, 17 and 19 whose first letter drops an erased Y
// give the lengths a period of 27,713,256 steps.
std::string WriteSlowDefinition()
{
    const std::string path = "/tmp/verdel-slow-" + std::to_string(getpid()) + ".vd";
    const std::string letters =
        "ABCDEFGHIJKLMNORSTUVWZabcdefghijklmnopqrstuvwxyz0123456789!$%&'()*+-.:;<>?[]^_{|}~\"\\";
    std::string axiom;
    for (int k = 0; k < 262'144; ++k) axiom += "PQ";
    std::string rules = "P=QXXX\nQ=P\nX=\nY=\n";
    size_t first = 0;
    for (const size_t length : {7, 8, 9, 11, 13, 17, 19}) {
        axiom += letters[first];
        for (size_t k = 0; k < length; ++k)
            rules += std::string(1, letters[first + k]) + "=" + letters[first + (k + 1) % length] +
                     (k == 0 ? "Y" : "") + "\n";
        first += length;
    }
    std::ofstream(path) << "2000000000\n0\n0\n" << axiom << "\n" << rules << "@\n";
    return path;
}

struct TChild {
    pid_t Pid = -1;
    int Err = -1; // read end of its standard error
};

TChild Start(const std::vector<std::string>& args)
{
    int pipeEnds[2];
    EXPECT_EQ(pipe(pipeEnds), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv{const_cast<char*>(VERDEL_CLI)};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    TChild child;
    EXPECT_EQ(posix_spawn(&child.Pid, VERDEL_CLI, &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    child.Err = pipeEnds[0];
    return child;
}

// Reads the child's standard error until Marker has appeared (or it closed).
std::string ReadUntil(int fd, const std::string& marker)
{
    std::string text;
    char buffer[256];
    while (text.find(marker) == std::string::npos) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        text.append(buffer, static_cast<size_t>(n));
    }
    return text;
}

} // namespace

TEST(CliInterrupt, CtrlCStopsARunningRewritingWithExit130)
{
    const std::string definition = WriteSlowDefinition();
    for (const std::string command : {"produce", "stats"}) {
        SCOPED_TRACE(command);
        const TChild child = Start({command, "--progress", definition});
        // The first progress line shows that rewriting runs; only then the signal goes.
        const std::string before = ReadUntil(child.Err, "progress: rewriting");
        ASSERT_NE(before.find("progress: rewriting"), std::string::npos) << before;
        kill(child.Pid, SIGINT);
        const std::string after = ReadUntil(child.Err, "\x04"); // to its end
        close(child.Err);
        int status = 0;
        ASSERT_EQ(waitpid(child.Pid, &status, 0), child.Pid);
        ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 130);
        EXPECT_NE(after.find("Interrupted\n"), std::string::npos) << after;
    }
    std::remove(definition.c_str());
}
