// Runs the built batch tool and captures its exit status and output.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace verdel::test {

struct TCliRun {
    int Exit = -1;
    std::string Out;
    std::string Err;
};

inline std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs "verdel-cli ARGS" through the shell; ARGS is used as written.
inline TCliRun RunCli(const std::string& args)
{
    const std::string base = "/tmp/verdel-cli-test-" + std::to_string(getpid());
    const std::string command = std::string(VERDEL_CLI) + " " + args + " >" + base + ".out 2>" + base + ".err";
    const int status = std::system(command.c_str());
    TCliRun run;
    run.Exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Out = ReadWholeFile(base + ".out");
    run.Err = ReadWholeFile(base + ".err");
    std::remove((base + ".out").c_str());
    std::remove((base + ".err").c_str());
    return run;
}

inline std::string Fixture(const std::string& name) { return std::string(VERDEL_FIXTURES) + "/" + name; }
inline std::string Sample(const std::string& name) { return std::string(VERDEL_DATA) + "/vdfiles/" + name; }

} // namespace verdel::test
