// export: the model of a definition or a model file as a mesh file for other 3-D tools.
#include <iostream>
#include <memory>

#include "app/program_folders.h"
#include "cli/cli_common.h"
#include "engine/random_source.h"
#include "formats/mesh_export.h"
#include "formats/model_reader.h"

namespace verdel::cli {

namespace {

struct TExportOptions {
    std::string Input;
    std::string Output;
    std::string Textures; // empty: the textures folder beside the executable
    bool Objects = false; // glTF: a node per object
    bool Smooth = false;  // smooth normals on tubes and cones
    bool Overwrite = false; // replace companions that hold something else
    TGenerateOptions Generate;
};

// What the file records: the definition and the seed its "~" turns start from.
bool DescribeInput(const TExportOptions& options, TExportInfo& info)
{
    info.TexturesFolder = options.Textures.empty() ? DataFolderFor(ExecutableFolder()) + "textures/" : options.Textures;
    if (IsModelFile(options.Input)) return true;
    TLines lines;
    if (!LoadDefinition(options.Input, options.Generate.Definition, lines)) return false;
    for (const std::string& line : lines) info.Definition += line + "\n";
    info.Seed = RandomSource.Seed;
    return true;
}

int RunExport(const TExportOptions& options)
{
    if (!MeshFormatOf(options.Output)) {
        std::cerr << options.Output << ": the output file must end in .obj, .stl, .ply, .gltf or .glb\n";
        return ExitUsage;
    }
    TExportInfo info;
    info.NodePerObject = options.Objects;
    info.SmoothNormals = options.Smooth;
    if (!DescribeInput(options, info)) return ExitUsage;
    auto model = std::make_unique<TCliModel>();
    const int status = LoadModel(options.Input, options.Generate, *model);
    if (status != ExitDone) return status;
    // The output itself is replaced as every command replaces it; its companions only when they hold the same.
    const TReplaceQuestion mayReplace = [&](const std::vector<std::string>& files) {
        return options.Overwrite || (files.size() == 1 && files.front() == options.Output);
    };
    return WriteOutput([&] {
        try {
            for (const std::string& warning : ExportMesh(model->Store, options.Output, info, mayReplace))
                std::cerr << "warning: " << warning << '\n';
        } catch (const EExportDeclined& declined) {
            throw EExportDeclined(declined.what() + std::string(" (--overwrite replaces them)"));
        }
    });
}

} // namespace

void AddExportCommands(CLI::App& App, int& ExitCode)
{
    auto options = std::make_shared<TExportOptions>();
    CLI::App* command = App.add_subcommand(
        "export", "Write the model of a definition or model file as an OBJ, STL, PLY, glTF or GLB mesh file");
    command->add_option("INPUT", options->Input, ModelInputHelp)->required();
    command->add_option("-o,--output", options->Output, "Mesh file to write; its extension chooses the format")
        ->required();
    command->add_option("--textures", options->Textures,
                        "Folder of Text01.jpg to Text12.jpg (default: textures beside the program)");
    command->add_flag("--objects", options->Objects,
                      "glTF and GLB: one node and mesh per object (default: one per layer)");
    command->add_flag("--smooth", options->Smooth,
                      "Vertex normals smooth round tubes and cones, flat elsewhere (OBJ, PLY, glTF, GLB)");
    command->add_flag("--overwrite", options->Overwrite,
                      "Replace a .mtl, .bin or picture beside the output that holds something else");
    AddGenerateOptions(command, options->Generate);
    command->callback([options, &ExitCode] { ExitCode = RunExport(*options); });
}

} // namespace verdel::cli
