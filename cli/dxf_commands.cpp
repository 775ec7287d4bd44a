// The dxf subcommands of the batch tool.
#include "cli/cli_common.h"

namespace verdel::cli {

void AddDxfCommands(CLI::App& /*App*/, int& /*ExitCode*/) {}

} // namespace verdel::cli
