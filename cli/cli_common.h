// What the batch tool's subcommands share: exit statuses, options, input and output helpers.
#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/generation.h"
#include "engine/text_helpers.h"
#include "engine/text_lines.h"
#include "engine/turtle.h"

namespace verdel::cli {

// Exit statuses of the batch tool.
enum TExitCode : int {
    ExitDone = 0,
    ExitUsage = 1,         // bad command line, unreadable input file
    ExitInvalid = 2,       // the definition failed validation
    ExitRefused = 3,       // production too long, or the output-size question declined
    ExitTurtle = 4,        // a turtle parameter was not a number
    ExitWrite = 5,         // an output file could not be written
    ExitRejected = 6,      // an input file was rejected
    ExitOutOfMemory = 7,   // the work needed more memory than the system gave
    ExitFailure = 8,       // an unexpected fault ended the work (the message says which)
    ExitInterrupted = 130, // Ctrl+C stopped the work (128 + SIGINT)
};

// The model one subcommand works on: its face store, its definition state and
// what the generation reported.
struct TCliModel {
    TFaceStore Store;
    TDefinitionState State;
    TGenerationResult Generation;
};

// Options of every subcommand that reads a definition.
struct TDefinitionOptions {
    std::optional<uint32_t> Seed;     // the random source's seed (stochastic rules, rand(), "~")
    std::vector<std::string> Defines; // NAME=VALUE, each replacing the value of a #define
};

// Options of every subcommand that runs the turtle.
struct TGenerateOptions {
    TDefinitionOptions Definition;
    TSolidSettings Solids;
    bool Yes = false;      // answer the output-size question with Yes
    bool Progress = false; // progress lines on standard error
};

// Adds --seed and the repeatable --define NAME=VALUE to a subcommand.
void AddDefinitionOptions(CLI::App* Command, TDefinitionOptions& Options);

// Adds --blocks, --cones, --wblocks, --pyramids, --yes and --progress to a
// subcommand, and --seed and --define unless it has a seed of its own.
void AddGenerateOptions(CLI::App* Command, TGenerateOptions& Options, bool WithDefinitionOptions = true);

// Reads a definition file; prints the error and returns false when it cannot.
bool LoadLines(const std::string& File, TLines& Lines);

// Reads a definition file, replaces the values of the constants --define
// names and seeds the random source with --seed (when given); prints the
// error and returns false when the file cannot be read or a --define does not fit it.
bool LoadDefinition(const std::string& File, const TDefinitionOptions& Options, TLines& Lines);

// Generates a definition file into Model, messages on standard error; Ctrl+C
// stops it. Returns ExitDone or the exit status of the failure.
int GenerateFile(const std::string& File, const TGenerateOptions& Options, TCliModel& Model);

// Fills Model's store from a definition (generated with Options) or from a
// model file: a DXF file, or any mesh file read through Assimp (OBJ, STL,
// PLY, glTF, 3DS, FBX, Collada...), chosen by the extension; ExitRejected when
// its content is refused. Messages go to standard error; returns ExitDone or
// the failure's status.
int LoadModel(const std::string& Input, const TGenerateOptions& Options, TCliModel& Model);

// The help text of a subcommand's input: a definition or any model file LoadModel reads.
inline constexpr const char* ModelInputHelp =
    "Definition file (.vd), DXF file (.dxf) or mesh file (.obj, .stl, .ply, .gltf, .glb, .3ds, .fbx, .dae, ...)";

// Runs Write; a failure's message goes to standard error and gives ExitWrite.
int WriteOutput(const std::function<void()>& Write);

// The exit status of a generation's outcome.
int ExitFor(TGenerationStatus Status);

// The shortest text that reads back as the same Single, without locale.
std::string FormatFloat(float Value);

// Each subsystem registers its subcommands; a subcommand that ran stores its
// exit status in ExitCode.
void AddEngineCommands(CLI::App& App, int& ExitCode);
void AddDxfCommands(CLI::App& App, int& ExitCode);
void AddRenderCommands(CLI::App& App, int& ExitCode);
void AddGeneratorCommands(CLI::App& App, int& ExitCode);
void AddExportCommands(CLI::App& App, int& ExitCode);
void AddGrowCommands(CLI::App& App, int& ExitCode);
void AddBreedCommands(CLI::App& App, int& ExitCode);

} // namespace verdel::cli
