// The generator subcommands of the batch tool.
#include "cli/cli_common.h"

namespace verdel::cli {

void AddGeneratorCommands(CLI::App& /*App*/, int& /*ExitCode*/) {}

} // namespace verdel::cli
