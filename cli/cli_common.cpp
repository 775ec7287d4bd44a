#include "cli/cli_common.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <iostream>

#include "cli/cli_prompt.h"
#include "formats/dxf_reader.h"
#include "formats/model_reader.h"

namespace verdel::cli {

void AddGenerateOptions(CLI::App* Command, TGenerateOptions& Options)
{
    Command->add_flag_callback(
        "--blocks", [&Options] { Options.Solids.Cylinders = false; }, "Draw F and Z as blocks instead of tubes");
    Command->add_flag("--cones", Options.Solids.QCones, "Let Q draw cones");
    Command->add_flag("--wblocks", Options.Solids.WBlocks, "Let W draw blocks");
    Command->add_flag("--pyramids", Options.Solids.RPyramids, "Let R draw pyramids");
    Command->add_flag("--yes", Options.Yes, "Answer Yes to the output-size question");
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

int ExitFor(TGenerationStatus Status)
{
    switch (Status) {
    case TGenerationStatus::Done: return ExitDone;
    case TGenerationStatus::Invalid: return ExitInvalid;
    case TGenerationStatus::Refused: return ExitRefused;
    case TGenerationStatus::TurtleFailed: return ExitTurtle;
    }
    return ExitUsage;
}

int GenerateFile(const std::string& File, const TGenerateOptions& Options)
{
    TLines lines;
    if (!LoadLines(File, lines)) return ExitUsage;
    TCliPrompt prompt(Options.Yes);
    return ExitFor(GenerateModel(lines, Options.Solids, prompt).Status);
}

int LoadModel(const std::string& Input, const TGenerateOptions& Options)
{
    if (!IsModelFile(Input)) return GenerateFile(Input, Options);
    try {
        ReadModelFile(FaceStore, Input);
        return ExitDone;
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

bool HasExtension(const std::string& File, const std::string& Extension)
{
    if (File.size() < Extension.size()) return false;
    return std::equal(Extension.begin(), Extension.end(), File.end() - static_cast<long>(Extension.size()),
                      [](char a, char b) { return std::tolower(a) == std::tolower(b); });
}

} // namespace verdel::cli
