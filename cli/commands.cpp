#include "cli/commands.h"

#include <array>
#include <charconv>
#include <iostream>

#include "cli/cli_prompt.h"
#include "engine/generation.h"
#include "engine/production.h"

namespace verdel::cli {

namespace {

// Reads a definition file; prints the error and returns false when it cannot.
bool LoadLines(const std::string& file, TLines& lines)
{
    try {
        lines = ReadLinesFromFile(file);
        return true;
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return false;
    }
}

// The shortest text that reads back as the same Single, without locale.
std::string FormatFloat(float value)
{
    std::array<char, 32> buffer;
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
    return std::string(buffer.data(), end);
}

int ExitFor(const TGenerationResult& result)
{
    switch (result.Status) {
    case TGenerationStatus::Done: return ExitDone;
    case TGenerationStatus::Invalid: return ExitInvalid;
    case TGenerationStatus::Refused: return ExitRefused;
    case TGenerationStatus::TurtleFailed: return ExitTurtle;
    }
    return ExitUsage;
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

} // namespace

int RunProduce(const std::string& File)
{
    TLines lines;
    if (!LoadLines(File, lines)) return ExitUsage;
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

int RunStats(const std::string& File, const TGenerateOptions& Options)
{
    TLines lines;
    if (!LoadLines(File, lines)) return ExitUsage;
    TCliPrompt prompt(Options.Yes);
    const TGenerationResult result = GenerateModel(lines, Options.Solids, prompt);
    if (result.Status != TGenerationStatus::Done) return ExitFor(result);
    PrintStoreStats(FaceStore, DefinitionState.Iterations, ProductionLength);
    return ExitDone;
}

} // namespace verdel::cli
