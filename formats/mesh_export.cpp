#include "formats/mesh_export.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "engine/text_helpers.h"
#include "engine/text_lines.h"
#include "formats/assimp_export.h"
#include "formats/gltf_json.h"
#include "formats/mesh_file_notes.h"
#include "formats/mesh_scene.h"
#include "render/image_files.h"

namespace verdel {

namespace {

namespace fs = std::filesystem;

// What a format asks of the scene and of the pictures.
struct TFormatPlan {
    const char* AssimpId;
    TSceneLayout Layout;
    bool Textures; // the materials name the layer pictures
    bool Embed;    // the pictures go inside the file instead of beside it
};

TFormatPlan PlanFor(TMeshFormat format)
{
    // Layout: triangles, texture coordinates, face normals, vertex colours, one mesh per layer.
    switch (format) {
    case TMeshFormat::mfObj: return {"obj", {false, true, true, false, false}, true, false};
    case TMeshFormat::mfStl: return {"stlb", {true, false, true, false, true}, false, false};
    case TMeshFormat::mfPly: return {"plyb", {false, false, false, true, true}, false, false};
    case TMeshFormat::mfGltf: return {"gltf2", {true, true, false, false, true}, true, false};
    case TMeshFormat::mfGlb: return {"glb2", {true, true, false, false, true}, true, true};
    }
    throw std::logic_error("unknown mesh format");
}

// A layer picture copied beside the file: where it comes from and the name the materials use.
struct TPictureCopy {
    fs::path Source;
    std::string Name;
};

bool ReadPicture(const fs::path& source, std::string& bytes)
{
    try {
        bytes = ReadFileText(source.string());
        return true;
    } catch (const std::runtime_error&) {
        return false;
    }
}

fs::path PictureSource(const TExportInfo& info, int layer)
{
    const std::string& chosen = info.LayerTextures[static_cast<size_t>(layer)];
    if (!chosen.empty()) return chosen;
    if (info.TexturesFolder.empty()) return {};
    return fs::path(info.TexturesFolder) / LayerTextureFileName(layer);
}

// The name a copied picture takes beside the file: its own, unless another
// picture of the same name is copied too.
std::string CopyName(const fs::path& source, int layer, std::vector<TPictureCopy>& copies)
{
    for (const TPictureCopy& copy : copies)
        if (copy.Source == source) return copy.Name;
    std::string name = source.filename().string();
    for (const TPictureCopy& copy : copies)
        if (copy.Name == name)
            name = source.stem().string() + "-" + std::to_string(layer) + source.extension().string();
    copies.push_back({source, name});
    return name;
}

// Names each used layer's picture in the materials: copied beside the file or
// carried inside it. A picture that cannot be used becomes a warning.
TSceneTextures ChooseTextures(const TFaceStore& store, const TExportInfo& info, TMeshFormat format,
                              std::vector<TPictureCopy>& copies, std::vector<std::string>& warnings)
{
    TSceneTextures textures;
    const TFormatPlan plan = PlanFor(format);
    if (!plan.Textures) return textures;
    // glTF multiplies the picture by the base colour: a textured material shows it as the viewer does.
    const bool gltf = format == TMeshFormat::mfGltf || format == TMeshFormat::mfGlb;
    textures.WhiteBase = gltf;
    std::array<bool, LayerCount + 1> used{};
    for (int k = 1; k <= store.ObjectCount; ++k) {
        const TFaceObject& object = store.Object(k);
        if (object.ModelFaces && object.ColorIndex <= LayerCount) used[object.ColorIndex] = true;
    }
    for (int layer = 1; layer <= LayerCount; ++layer) {
        const fs::path source = PictureSource(info, layer);
        if (!used[static_cast<size_t>(layer)] || source.empty()) continue;
        const std::string what =
            "the " + std::string(LayerColorName(layer)) + " material is written without its texture";
        std::string bytes;
        if (!ReadPicture(source, bytes)) {
            warnings.push_back(source.string() + ": cannot be read; " + what);
            continue;
        }
        const std::string name = source.filename().string();
        if (gltf && !EndsWithAnyCase(name, ".jpg") && !EndsWithAnyCase(name, ".jpeg") &&
            !EndsWithAnyCase(name, ".png")) {
            warnings.push_back(source.string() + ": glTF holds only JPEG and PNG pictures; " + what);
            continue;
        }
        std::string& path = textures.Paths[static_cast<size_t>(layer)];
        if (plan.Embed) {
            path.assign(1, '*').append(std::to_string(textures.Embedded.size()));
            textures.Embedded.push_back({name, std::move(bytes)});
        } else {
            path = CopyName(source, layer, copies);
        }
    }
    return textures;
}

std::string HashComments(const std::vector<std::string>& lines)
{
    std::string text;
    PrependHashComments(text, lines);
    return text;
}

// Text files get their notes as they are written; files whose notes sit
// inside (PLY header, glTF JSON) are kept in memory for a touch afterwards.
// An empty model's glTF buffer file is kept back and dropped.
TFilePolicy PolicyFor(TMeshFormat format, const std::vector<std::string>& notes, bool hasMeshes)
{
    return [format, notes, hasMeshes](const std::string& path) {
        TFileHandling handling;
        if (EndsWithAnyCase(path, ".mtl")) handling.Prefix = HashComments({notes.front()});
        else if (EndsWithAnyCase(path, ".bin")) handling.InMemory = !hasMeshes;
        else if (format == TMeshFormat::mfObj) handling.Prefix = HashComments(notes);
        else handling.InMemory = format != TMeshFormat::mfStl;
        return handling;
    };
}

// Puts the notes into the files kept in memory and writes them.
void FinishInMemory(std::vector<TCapturedFile>& files, TMeshFormat format, const TExportInfo& info,
                    const std::vector<std::string>& notes, bool hasMeshes)
{
    for (TCapturedFile& file : files) {
        if (EndsWithAnyCase(file.Path, ".bin")) continue;
        std::string& bytes = file.Bytes;
        if (format == TMeshFormat::mfPly) {
            RepairPlyColors(bytes);
            AddPlyComments(bytes, notes);
        } else {
            std::string json = format == TMeshFormat::mfGlb ? GlbJson(bytes) : bytes;
            SetGltfAsset(json, info.ProgramName, info.Definition, info.Seed);
            if (!hasMeshes) RemoveTopLevelMember(json, "buffers");
            if (format == TMeshFormat::mfGlb) SetGlbJson(bytes, std::move(json));
            else bytes = std::move(json);
        }
        WriteFileText(file.Path, bytes);
    }
}

// The 80-byte header of a binary STL file written to disk.
void SetStlFileHeader(const std::string& path, const std::string& text)
{
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    std::string header(80, '\0');
    if (file) file.read(header.data(), 80);
    SetStlHeader(header, text);
    if (file) file.seekp(0).write(header.data(), 80);
    if (!file) throw std::runtime_error(path + ": write error");
}

void CopyPictures(const std::vector<TPictureCopy>& copies, const fs::path& folder)
{
    for (const TPictureCopy& copy : copies) {
        const fs::path target = folder / copy.Name;
        std::error_code error;
        if (fs::exists(target, error) && fs::equivalent(copy.Source, target, error)) continue;
        fs::copy_file(copy.Source, target, fs::copy_options::overwrite_existing, error);
        if (error) throw std::runtime_error(target.string() + ": " + error.message());
    }
}

} // namespace

std::optional<TMeshFormat> MeshFormatOf(const std::string& FileName)
{
    if (EndsWithAnyCase(FileName, ".obj")) return TMeshFormat::mfObj;
    if (EndsWithAnyCase(FileName, ".stl")) return TMeshFormat::mfStl;
    if (EndsWithAnyCase(FileName, ".ply")) return TMeshFormat::mfPly;
    if (EndsWithAnyCase(FileName, ".gltf")) return TMeshFormat::mfGltf;
    if (EndsWithAnyCase(FileName, ".glb")) return TMeshFormat::mfGlb;
    return std::nullopt;
}

namespace {

std::vector<std::string> Export(const TFaceStore& Store, TFaceStore* Release, const std::string& FileName,
                                const TExportInfo& Info)
{
    const std::optional<TMeshFormat> format = MeshFormatOf(FileName);
    if (!format)
        throw std::runtime_error(FileName +
                                 ": unknown mesh format; the name must end in .obj, .stl, .ply, .gltf or .glb");
    const fs::path folder = fs::path(FileName).parent_path();
    std::error_code error;
    if (!folder.empty() && !fs::is_directory(folder, error))
        throw std::runtime_error(FileName + ": the folder " + folder.string() + " does not exist");

    std::vector<std::string> warnings;
    std::vector<TPictureCopy> copies;
    const std::vector<std::string> notes = NoteLines(Info);
    try {
        const TFormatPlan plan = PlanFor(*format);
        TScenePtr scene = BuildMeshScene(Store, plan.Layout, ChooseTextures(Store, Info, *format, copies, warnings));
        if (Release) FreeScene(*Release);
        const bool hasMeshes = scene->mNumMeshes > 0;
        std::vector<TCapturedFile> files =
            RunAssimpExport(*scene, plan.AssimpId, FileName, PolicyFor(*format, notes, hasMeshes));
        scene.reset();
        FinishInMemory(files, *format, Info, notes, hasMeshes);
        if (*format == TMeshFormat::mfStl)
            SetStlFileHeader(FileName, notes.front() + (Info.Seed ? ", seed " + std::to_string(*Info.Seed) : ""));
    } catch (const std::runtime_error& failure) {
        // Messages about the file or its companions (".mtl", ".bin") name them already.
        const std::string message = failure.what();
        const std::string stem = FileName.substr(0, FileName.rfind('.'));
        throw std::runtime_error(message.starts_with(stem) ? message : FileName + ": " + message);
    }
    CopyPictures(copies, folder.empty() ? fs::path(".") : folder);
    return warnings;
}

} // namespace

std::vector<std::string> ExportMesh(const TFaceStore& Store, const std::string& FileName, const TExportInfo& Info)
{
    return Export(Store, nullptr, FileName, Info);
}

std::vector<std::string> ExportMeshReleasing(TFaceStore& Store, const std::string& FileName, const TExportInfo& Info)
{
    return Export(Store, &Store, FileName, Info);
}

} // namespace verdel
