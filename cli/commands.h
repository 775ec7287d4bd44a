// The batch tool's subcommands; each returns the process exit status.
#pragma once

#include <string>

#include "engine/turtle.h"

namespace verdel::cli {

// Exit statuses of the batch tool.
enum TExitCode : int {
    ExitDone = 0,
    ExitUsage = 1,         // bad command line, unreadable input file
    ExitInvalid = 2,       // the definition failed validation
    ExitRefused = 3,       // production too long, or the size question declined
    ExitTurtle = 4,        // a turtle parameter was not a number
};

// Options shared by every subcommand that runs the turtle.
struct TGenerateOptions {
    TSolidSettings Solids;
    bool Yes = false; // answer the output-size question with Yes
};

// Prints the production string of a definition and a newline.
int RunProduce(const std::string& File);

// Generates a definition and prints key: value statistics of the model.
int RunStats(const std::string& File, const TGenerateOptions& Options);

} // namespace verdel::cli
