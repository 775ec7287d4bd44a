// dxf: the model of a definition or model file as a DXF file.

#include <memory>

#include "cli/cli_common.h"
#include "formats/dxf_writer.h"

namespace verdel::cli {

namespace {

int RunDxf(const std::string& input, const std::string& output, const TGenerateOptions& options)
{
    auto model = std::make_unique<TCliModel>();
    const int status = LoadModel(input, options, *model);
    if (status != ExitDone) return status;
    return WriteOutput([&] { WriteDXFFile(model->Store, output, "dxf"); });
}

} // namespace

void AddDxfCommands(CLI::App& App, int& ExitCode)
{
    auto input = std::make_shared<std::string>();
    auto output = std::make_shared<std::string>();
    auto options = std::make_shared<TGenerateOptions>();
    CLI::App* dxf = App.add_subcommand("dxf", "Write the model of a definition or model file as a DXF file");
    dxf->add_option("FILE", *input, ModelInputHelp)->required();
    dxf->add_option("-o,--output", *output, "DXF file to write")->required();
    AddGenerateOptions(dxf, *options);
    dxf->callback([input, output, options, &ExitCode] { ExitCode = RunDxf(*input, *output, *options); });
}

} // namespace verdel::cli
