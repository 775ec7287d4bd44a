// produce and stats: the production string and the statistics of a model.
#include <iostream>
#include <memory>

#include "cli/cli_common.h"
#include "cli/interrupt.h"
#include "engine/command_table.h"
#include "engine/production.h"
#include "formats/model_reader.h"

namespace verdel::cli {

namespace {

int RunProduce(const std::string& file, const TDefinitionOptions& options, bool progress)
{
    TLines lines;
    if (!LoadDefinition(file, options, lines)) return ExitUsage;
    const TValidation validation = ValidateDefinition(lines);
    if (!validation.Ok) {
        std::cerr << validation.Report("\n") << '\n';
        return ExitInvalid;
    }
    auto state = std::make_unique<TDefinitionState>();
    ParseDefinition(*state, lines);
    if (progress) EnableProgressLines();
    TRewriteStatus status;
    {
        const TInterruptible interruptible;
        status = RewriteProduction(*state, InterruptToken(), RandomSource);
    }
    if (status == TRewriteStatus::Cancelled || InterruptToken().Cancelled()) return ExitInterrupted;
    if (status == TRewriteStatus::Failed) {
        std::cerr << ExtendedFaultReport(*state, "\n") << '\n';
        return ExitInvalid;
    }
    if (status == TRewriteStatus::Refused) {
        std::cerr << (state->FaultText.empty() ? "Production String Exceeded Maximum Length" : state->FaultText)
                  << '\n';
        return ExitRefused;
    }
    std::cout << state->Production << '\n';
    return ExitDone;
}

void PrintStoreStats(const TFaceStore& store, int iterations, int productionLength)
{
    std::string layers;
    for (int k = 1; k <= LayerCount; ++k) {
        if (!store.LayerUsed[k]) continue;
        if (!layers.empty()) layers += ',';
        layers += std::to_string(k);
    }
    std::cout << "iterations: " << iterations << '\n'
              << "production_length: " << productionLength << '\n'
              << "objects: " << store.ObjectCount << '\n'
              << "faces: " << CountFaces(store) << '\n'
              << "layers: " << layers << '\n'
              << "min: " << FormatFloat(store.MinX) << ' ' << FormatFloat(store.MinY) << ' ' << FormatFloat(store.MinZ)
              << '\n'
              << "max: " << FormatFloat(store.MaxX) << ' ' << FormatFloat(store.MaxY) << ' ' << FormatFloat(store.MaxZ)
              << '\n';
}

int RunStats(const std::string& file, const TGenerateOptions& options)
{
    auto model = std::make_unique<TCliModel>();
    const int status = LoadModel(file, options, *model);
    if (status != ExitDone) return status;
    // A model file has no definition: its iterations and production length are 0.
    const bool isModel = IsModelFile(file);
    PrintStoreStats(model->Store, isModel ? 0 : model->State.Iterations,
                    isModel ? 0 : model->Generation.ProductionLength);
    return ExitDone;
}

int RunCommands(bool html)
{
    std::cout << (html ? CommandTableHtml() : CommandTableText());
    return ExitDone;
}

} // namespace

void AddEngineCommands(CLI::App& App, int& ExitCode)
{
    auto file = std::make_shared<std::string>();
    auto progress = std::make_shared<bool>(false);
    auto definition = std::make_shared<TDefinitionOptions>();
    CLI::App* produce = App.add_subcommand("produce", "Print the production string of a definition");
    produce->add_option("FILE", *file, "Definition file (.vd)")->required();
    produce->add_flag("--progress", *progress, "Print progress lines on standard error");
    AddDefinitionOptions(produce, *definition);
    produce->callback(
        [file, definition, progress, &ExitCode] { ExitCode = RunProduce(*file, *definition, *progress); });

    auto statsFile = std::make_shared<std::string>();
    auto options = std::make_shared<TGenerateOptions>();
    CLI::App* stats = App.add_subcommand("stats", "Generate a definition and print model statistics");
    stats->add_option("FILE", *statsFile, ModelInputHelp)->required();
    AddGenerateOptions(stats, *options);
    stats->callback([statsFile, options, &ExitCode] { ExitCode = RunStats(*statsFile, *options); });

    auto html = std::make_shared<bool>(false);
    CLI::App* commands = App.add_subcommand("commands", "List the turtle's commands with their parameters and effects");
    commands->add_flag("--html", *html, "Print the rows of an HTML table (the help page's table)");
    commands->callback([html, &ExitCode] { ExitCode = RunCommands(*html); });
}

} // namespace verdel::cli
