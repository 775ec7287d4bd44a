// The render subcommands of the batch tool.
#include "cli/cli_common.h"

namespace verdel::cli {

void AddRenderCommands(CLI::App& /*App*/, int& /*ExitCode*/) {}

} // namespace verdel::cli
