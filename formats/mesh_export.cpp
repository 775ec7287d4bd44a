#include "formats/mesh_export.h"

#include <algorithm>
#include <deque>
#include <filesystem>
#include <sstream>
#include <stdexcept>

#include "engine/atomic_file.h"
#include "engine/text_helpers.h"
#include "engine/text_lines.h"
#include "formats/gltf_writer.h"
#include "formats/obj_writer.h"
#include "formats/ply_writer.h"
#include "formats/stl_writer.h"
#include "render/image_files.h"

namespace verdel {

namespace {

namespace fs = std::filesystem;

// A layer picture copied beside the file: where it comes from, the name the materials use, its bytes.
struct TPictureCopy {
    fs::path Source;
    std::string Name;
    std::string Bytes;
};

fs::path PictureSource(const TExportInfo& info, int layer)
{
    const std::string& chosen = info.LayerTextures[static_cast<size_t>(layer)];
    if (!chosen.empty()) return chosen;
    if (info.TexturesFolder.empty()) return {};
    return fs::path(info.TexturesFolder) / LayerTextureFileName(layer);
}

// The name a copied picture takes beside the file: its own, unless another
// picture of the same name is copied too.
std::string CopyName(const fs::path& source, int layer, std::string bytes, std::vector<TPictureCopy>& copies)
{
    for (const TPictureCopy& copy : copies)
        if (copy.Source == source) return copy.Name;
    std::string name = source.filename().string();
    for (const TPictureCopy& copy : copies)
        if (copy.Name == name)
            name = source.stem().string() + "-" + std::to_string(layer) + source.extension().string();
    copies.push_back({source, name, std::move(bytes)});
    return name;
}

// The picture kinds glTF holds, told by their first bytes; empty for any other.
std::string MimeTypeOf(const std::string& bytes)
{
    if (bytes.starts_with("\xFF\xD8\xFF")) return "image/jpeg";
    if (bytes.starts_with("\x89PNG\r\n\x1A\n")) return "image/png";
    return {};
}

// Where the export takes the layer pictures from, and what it found out about them.
struct TPicturePlan {
    std::vector<TPictureCopy> Copies;
    std::vector<std::string> Warnings;
};

// Gives a used layer's material its picture: a name beside the file, or its
// bytes inside it. A picture that cannot be used becomes a warning.
void ChoosePicture(TLayerMaterial& material, const TExportInfo& info, TMeshFormat format, TPicturePlan& plan)
{
    const fs::path source = PictureSource(info, material.Layer);
    if (source.empty()) return;
    const std::string what = "the " + MaterialName(material.Layer) + " material is written without its texture";
    std::string bytes;
    try {
        bytes = ReadFileText(source.string());
    } catch (const std::runtime_error&) {
        plan.Warnings.push_back(source.string() + ": cannot be read; " + what);
        return;
    }
    if (format == TMeshFormat::mfObj) {
        material.Texture = CopyName(source, material.Layer, std::move(bytes), plan.Copies);
        return;
    }
    const std::string mimeType = MimeTypeOf(bytes);
    if (mimeType.empty()) {
        plan.Warnings.push_back(source.string() + ": glTF holds only JPEG and PNG pictures; " + what);
    } else if (format == TMeshFormat::mfGltf) {
        material.Texture = CopyName(source, material.Layer, std::move(bytes), plan.Copies);
    } else {
        material.Picture = std::move(bytes);
        material.MimeType = mimeType;
    }
}

std::vector<TLayerMaterial> ChooseMaterials(const TFaceStore& store, const TExportInfo& info, TMeshFormat format,
                                            TPicturePlan& plan)
{
    std::vector<TLayerMaterial> materials;
    const bool textured = format != TMeshFormat::mfStl && format != TMeshFormat::mfPly;
    for (const int layer : UsedLayers(store)) {
        TLayerMaterial& material = materials.emplace_back();
        material.Layer = layer;
        if (textured && layer >= 1 && layer <= LayerCount) ChoosePicture(material, info, format, plan);
    }
    return materials;
}

// The files of one export under their temporary names, the main file first;
// a deque, so the files already made never move.
using TExportFiles = std::deque<TAtomicFile>;

std::string Companion(const std::string& fileName, const char* extension)
{
    return fs::path(fileName).replace_extension(extension).string();
}

void WriteFiles(const TFaceStore& store, const std::string& fileName, TMeshFormat format, const TExportInfo& info,
                const std::vector<TLayerMaterial>& materials, TExportFiles& files)
{
    const std::vector<std::string> notes = NoteLines(info);
    TAtomicFile& main = files.emplace_back(fileName);
    // OBJ's materials and glTF's buffer (none when no object has faces) go to a file of their own.
    TAtomicFile* companion = nullptr;
    if (format == TMeshFormat::mfObj) companion = &files.emplace_back(Companion(fileName, ".mtl"));
    if (format == TMeshFormat::mfGltf && !materials.empty())
        companion = &files.emplace_back(Companion(fileName, ".bin"));
    const std::string companionName = companion ? fs::path(companion->FileName()).filename().string() : "";
    std::ostringstream none;
    std::ostream& second = companion ? companion->Stream() : none;
    try {
        switch (format) {
        case TMeshFormat::mfObj:
            WriteObj(store, main.Stream(), notes, companionName, info.SmoothNormals);
            WriteMtl(second, notes.front(), materials);
            break;
        case TMeshFormat::mfStl:
            WriteStl(store, main.Stream(), notes.front() + (info.Seed ? ", seed " + std::to_string(*info.Seed) : ""));
            break;
        case TMeshFormat::mfPly: WritePly(store, main.Stream(), notes, info.SmoothNormals); break;
        case TMeshFormat::mfGltf: WriteGltf(store, main.Stream(), second, companionName, info, materials); break;
        case TMeshFormat::mfGlb: WriteGlb(store, main.Stream(), info, materials); break;
        }
    } catch (const std::runtime_error& failure) {
        // A failed file (a full disk) names itself; any other failure is the main file's.
        for (const TAtomicFile& file : files) file.ThrowIfFailed();
        throw std::runtime_error(fileName + ": " + failure.what());
    }
}

// The pictures beside the file; one that is already there (the very source) is not copied.
void WritePictures(const std::vector<TPictureCopy>& copies, const fs::path& folder, TExportFiles& files)
{
    for (const TPictureCopy& copy : copies) {
        const fs::path target = folder / copy.Name;
        std::error_code error;
        if (fs::exists(target, error) && fs::equivalent(copy.Source, target, error)) continue;
        files.emplace_back(target.string()).Write([&](std::ostream& out) {
            out.write(copy.Bytes.data(), static_cast<std::streamsize>(copy.Bytes.size()));
        });
    }
}

// Completes every file, asks before replacing files and commits them: the
// companions first, the main file last, so a main file with new content
// always has its new companions. A companion that already holds the same
// bytes is left as it is.
void CommitFiles(TExportFiles& files, const TReplaceQuestion& mayReplace)
{
    std::vector<TAtomicFile*> changed;
    std::vector<std::string> replaced, companions;
    for (TAtomicFile& file : files) {
        file.Close();
        const bool main = &file == &files.front();
        if (!main && file.SameAsTarget()) {
            file.Discard();
            continue;
        }
        changed.push_back(&file);
        std::error_code error;
        if (!fs::exists(file.FileName(), error)) continue;
        replaced.push_back(file.FileName());
        if (!main) companions.push_back(file.FileName());
    }
    if (!replaced.empty() && mayReplace && !mayReplace(replaced)) {
        std::string names;
        for (const std::string& name : companions) names += (names.empty() ? "" : ", ") + name;
        throw EExportDeclined(files.front().FileName() + ": not written" +
                              (names.empty() ? "" : "; these files exist with other content: " + names));
    }
    for (auto file = changed.rbegin(); file != changed.rend(); ++file) (*file)->Commit();
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

std::vector<std::string> ExportMesh(const TFaceStore& Store, const std::string& FileName, const TExportInfo& Info,
                                    const TReplaceQuestion& MayReplace)
{
    const std::optional<TMeshFormat> format = MeshFormatOf(FileName);
    if (!format)
        throw std::runtime_error(FileName +
                                 ": unknown mesh format; the name must end in .obj, .stl, .ply, .gltf or .glb");
    const fs::path folder = fs::path(FileName).parent_path();
    std::error_code error;
    if (!folder.empty() && !fs::is_directory(folder, error))
        throw std::runtime_error(FileName + ": the folder " + folder.string() + " does not exist");

    TPicturePlan pictures;
    const std::vector<TLayerMaterial> materials = ChooseMaterials(Store, Info, *format, pictures);
    TExportFiles files;
    WriteFiles(Store, FileName, *format, Info, materials, files);
    WritePictures(pictures.Copies, folder, files);
    CommitFiles(files, MayReplace);
    return pictures.Warnings;
}

} // namespace verdel
