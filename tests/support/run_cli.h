// Runs the built batch tool and captures its exit status and output.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/files.h"

namespace verdel::test {

struct TCliRun {
    int Exit = -1;
    std::string Out;
    std::string Err;
};

// The words of Text, split at blanks (for option lists written as one string).
inline std::vector<std::string> Words(const std::string& Text)
{
    std::vector<std::string> words;
    std::istringstream in(Text);
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

// First followed by Rest.
inline std::vector<std::string> Concat(std::vector<std::string> First, const std::vector<std::string>& Rest)
{
    First.insert(First.end(), Rest.begin(), Rest.end());
    return First;
}

// The arguments as one line, for messages.
inline std::string Joined(const std::vector<std::string>& Args)
{
    std::string line;
    for (const std::string& arg : Args) line += (line.empty() ? "" : " ") + arg;
    return line;
}

// Runs the program Words[0] with the other words as arguments, without a shell.
inline TCliRun RunProgram(std::vector<std::string> Words)
{
    const std::string base = "/tmp/verdel-cli-test-" + std::to_string(getpid());
    const std::string outFile = base + ".out", errFile = base + ".err";
    std::vector<char*> argv;
    for (std::string& word : Words) argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t child = 0;
    TCliRun run;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        while (waitpid(child, &status, 0) < 0) {}
        run.Exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    run.Out = ReadWholeFile(outFile);
    run.Err = ReadWholeFile(errFile);
    std::remove(outFile.c_str());
    std::remove(errFile.c_str());
    return run;
}

// Runs "verdel-cli ARGS" without a shell, so paths with blanks or quotes pass as they are.
inline TCliRun RunCli(const std::vector<std::string>& Args) { return RunProgram(Concat({VERDEL_CLI}, Args)); }

inline std::string Fixture(const std::string& name) { return std::string(VERDEL_FIXTURES) + "/" + name; }
inline std::string Sample(const std::string& name) { return std::string(VERDEL_DATA) + "/vdfiles/" + name; }

} // namespace verdel::test
