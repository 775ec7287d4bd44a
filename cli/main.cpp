// verdel-cli: the batch tool on Verdel's core.
#include <exception>
#include <iostream>
#include <new>

#include "cli/cli_common.h"
#include "cli/interrupt.h"

using namespace verdel::cli;

int main(int argc, char** argv)
{
    InstallInterruptHandler();
    CLI::App app{"Verdel batch tool: Lindenmayer definitions to productions, models, files and pictures"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("verdel-cli ") + VERDEL_VERSION);

    int exitCode = ExitDone;
    AddEngineCommands(app, exitCode);
    AddDxfCommands(app, exitCode);
    AddRenderCommands(app, exitCode);
    AddGeneratorCommands(app, exitCode);
    AddExportCommands(app, exitCode);
    AddGrowCommands(app, exitCode);
    AddBreedCommands(app, exitCode);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error) == 0 ? ExitDone : ExitUsage;
    } catch (const std::bad_alloc&) {
        std::cerr << "Out of memory: the work needed more memory than the system gave, and was abandoned\n";
        return ExitOutOfMemory;
    } catch (const std::exception& error) {
        std::cerr << "Unexpected fault, the work was abandoned: " << error.what() << '\n';
        return ExitFailure;
    }
    if (exitCode == ExitInterrupted) std::cerr << "Interrupted\n";
    return exitCode;
}
