#include "cli/cli_common.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <iostream>

#include "cli/cli_prompt.h"
#include "cli/interrupt.h"
#include "engine/extended_definition.h"
#include "formats/dxf_reader.h"
#include "formats/model_reader.h"

namespace verdel::cli {

void AddDefinitionOptions(CLI::App* Command, TDefinitionOptions& Options)
{
    Command->add_option("--seed", Options.Seed, "Seed of the random source: stochastic rules, rand() and ~ (default 0)");
    Command->add_option("--define", Options.Defines, "NAME=VALUE: replaces the value of #define NAME (repeatable)")
        ->allow_extra_args(false);
}

void AddGenerateOptions(CLI::App* Command, TGenerateOptions& Options, bool WithDefinitionOptions)
{
    if (WithDefinitionOptions) AddDefinitionOptions(Command, Options.Definition);
    Command->add_flag_callback(
        "--blocks", [&Options] { Options.Solids.Cylinders = false; }, "Draw F and Z as blocks instead of tubes");
    Command->add_flag("--cones", Options.Solids.QCones, "Let Q draw cones");
    Command->add_flag("--wblocks", Options.Solids.WBlocks, "Let W draw blocks");
    Command->add_flag("--pyramids", Options.Solids.RPyramids, "Let R draw pyramids");
    Command->add_flag("--yes", Options.Yes, "Answer Yes to the output-size question");
    Command->add_flag("--progress", Options.Progress, "Print progress lines on standard error");
}

bool LoadLines(const std::string& File, TLines& Lines)
{
    try {
        Lines = ReadLinesFromFile(File);
        return true;
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return false;
    }
}

bool LoadDefinition(const std::string& File, const TDefinitionOptions& Options, TLines& Lines)
{
    if (!LoadLines(File, Lines)) return false;
    for (const std::string& define : Options.Defines) {
        const size_t equals = define.find('=');
        std::string error = "--define must be NAME=VALUE: " + define;
        if (equals != std::string::npos &&
            OverrideDefine(Lines, std::string_view(define).substr(0, equals), std::string_view(define).substr(equals + 1),
                           error))
            continue;
        std::cerr << File << ": " << error << '\n';
        return false;
    }
    if (Options.Seed) RandomSource.Seed = *Options.Seed;
    return true;
}

int ExitFor(TGenerationStatus Status)
{
    switch (Status) {
    case TGenerationStatus::Done: return ExitDone;
    case TGenerationStatus::Invalid: return ExitInvalid;
    case TGenerationStatus::Refused: return ExitRefused;
    case TGenerationStatus::TurtleFailed: return ExitTurtle;
    case TGenerationStatus::Cancelled: return ExitInterrupted;
    }
    return ExitUsage;
}

int GenerateFile(const std::string& File, const TGenerateOptions& Options, TCliModel& Model)
{
    TLines lines;
    if (!LoadDefinition(File, Options.Definition, lines)) return ExitUsage;
    TCliPrompt prompt(Options.Yes);
    if (Options.Progress) EnableProgressLines();
    {
        const TInterruptible interruptible;
        Model.Generation =
            GenerateModel(lines, Options.Solids, prompt, Model.State, Model.Store, RandomSource, InterruptToken());
    }
    // A Ctrl+C just after the generation still stops the command.
    if (InterruptToken().Cancelled()) return ExitInterrupted;
    const int leftOut = Model.Generation.LeftOutObjects;
    if (leftOut > 0)
        std::cerr << "note: " << leftOut << " object" << (leftOut == 1 ? "" : "s")
                  << " left out of the model: a coordinate was not a finite number\n";
    return ExitFor(Model.Generation.Status);
}

int LoadModel(const std::string& Input, const TGenerateOptions& Options, TCliModel& Model)
{
    if (!IsModelFile(Input)) return GenerateFile(Input, Options, Model);
    try {
        // Ctrl+C stops a mesh file's importer child (a DXF file is read to its end) and ends the command.
        const TInterruptible interruptible;
        const bool read = ReadModelFile(Model.Store, Input, InterruptToken());
        return read && !InterruptToken().Cancelled() ? ExitDone : ExitInterrupted;
    } catch (const EDXFError& error) {
        std::cerr << error.what() << '\n';
        return ExitRejected;
    } catch (const EModelError& error) {
        std::cerr << error.what() << '\n';
        return ExitRejected;
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return ExitUsage;
    }
}

int WriteOutput(const std::function<void()>& Write)
{
    try {
        Write();
        return ExitDone;
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return ExitWrite;
    }
}

std::string FormatFloat(float Value)
{
    std::array<char, 32> buffer;
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), Value).ptr;
    return std::string(buffer.data(), end);
}

} // namespace verdel::cli
