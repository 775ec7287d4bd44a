// verdel-cli: the batch tool on Verdel's core.
#include <CLI/CLI.hpp>

#include "cli/commands.h"

using namespace verdel::cli;

namespace {

// The solid settings and --yes of every subcommand that runs the turtle.
void AddGenerateOptions(CLI::App* command, TGenerateOptions& options)
{
    command->add_flag_callback("--blocks", [&] { options.Solids.Cylinders = false; },
                               "Draw F and Z as blocks instead of tubes");
    command->add_flag("--cones", options.Solids.QCones, "Q draws cones");
    command->add_flag("--wblocks", options.Solids.WBlocks, "W draws blocks");
    command->add_flag("--pyramids", options.Solids.RPyramids, "R draws pyramids");
    command->add_flag("--yes", options.Yes, "Answer Yes to the output-size question");
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app{"Verdel batch tool: Lindenmayer definitions to productions, models and files"};
    app.require_subcommand(1);

    std::string file;
    TGenerateOptions options;

    CLI::App* produce = app.add_subcommand("produce", "Print the production string of a definition");
    produce->add_option("FILE", file, "Definition file (.vd)")->required();

    CLI::App* stats = app.add_subcommand("stats", "Generate a definition and print model statistics");
    stats->add_option("FILE", file, "Definition file (.vd)")->required();
    AddGenerateOptions(stats, options);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error) == 0 ? ExitDone : ExitUsage;
    }

    if (produce->parsed()) return RunProduce(file);
    if (stats->parsed()) return RunStats(file, options);
    return ExitUsage;
}
