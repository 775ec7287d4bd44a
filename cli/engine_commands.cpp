// produce and stats: the production string and the statistics of a model.
#include <iostream>

#include "cli/cli_common.h"
#include "engine/production.h"
#include "formats/model_reader.h"

namespace verdel::cli {

namespace {

int RunProduce(const std::string& file)
{
    TLines lines;
    if (!LoadLines(file, lines)) return ExitUsage;
    std::string errorText;
    if (!ValidateDefinition(lines, errorText)) {
        std::cerr << "Please Check Input Data\n" << errorText << '\n';
        return ExitInvalid;
    }
    ParseDefinition(DefinitionState, lines);
    if (!RewriteProduction(DefinitionState)) {
        std::cerr << "Production String Exceeded Maximum Length\n";
        return ExitRefused;
    }
    std::cout << DefinitionState.Production << '\n';
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
    const int status = LoadModel(file, options);
    if (status != ExitDone) return status;
    // A model file has no definition: its iterations and production length are 0.
    const bool isModel = IsModelFile(file);
    PrintStoreStats(FaceStore, isModel ? 0 : DefinitionState.Iterations, isModel ? 0 : ProductionLength);
    return ExitDone;
}

} // namespace

void AddEngineCommands(CLI::App& App, int& ExitCode)
{
    auto file = std::make_shared<std::string>();
    CLI::App* produce = App.add_subcommand("produce", "Print the production string of a definition");
    produce->add_option("FILE", *file, "Definition file (.vd)")->required();
    produce->callback([file, &ExitCode] { ExitCode = RunProduce(*file); });

    auto statsFile = std::make_shared<std::string>();
    auto options = std::make_shared<TGenerateOptions>();
    CLI::App* stats = App.add_subcommand("stats", "Generate a definition and print model statistics");
    stats->add_option("FILE", *statsFile, ModelInputHelp)->required();
    AddGenerateOptions(stats, *options);
    stats->callback([statsFile, options, &ExitCode] { ExitCode = RunStats(*statsFile, *options); });
}

} // namespace verdel::cli
