#include "viewer/save_kinds.h"

#include <array>
#include <memory>
#include <string_view>

#include "formats/dxf_writer.h"
#include "formats/mesh_export.h"
#include "render/image_files.h"
#include "render/supersampling.h"
#include "viewer/export_names.h"
#include "viewer/store_copy.h"
#include "viewer/view_preparation.h"

namespace verdel {

namespace {

constexpr std::array<TSaveKindInfo, 9> Kinds = {{
    {TSaveKind::Dxf, "AutoCad DXF (*.dxf)", ".dxf"},
    {TSaveKind::Bmp, "Windows BMP (*.bmp)", ".bmp"},
    {TSaveKind::Jpeg, "JPeg (*.jpg)", ".jpg"},
    {TSaveKind::Obj, "Wavefront OBJ (*.obj)", ".obj"},
    {TSaveKind::Stl, "STL (*.stl)", ".stl"},
    {TSaveKind::Ply, "PLY (*.ply)", ".ply"},
    {TSaveKind::Glb, "glTF binary (*.glb)", ".glb"},
    {TSaveKind::Png, "PNG (*.png)", ".png"},
    {TSaveKind::SmoothPng, "PNG, smooth edges (*.png)", ".png"},
}};

// What a PNG records: the definition and seed of a generated model.
TPictureNotes Notes(const TExportInfo& info)
{
    TPictureNotes notes;
    notes.Definition = info.Definition;
    notes.Seed = info.Seed;
    return notes;
}

// The view drawn again with smooth edges, by a renderer of its own set up as
// the frames are, over a copy of the model made from its model faces alone
// (a frame being drawn writes the others).
TRgbImage SmoothEdgesPicture(const TSaveSource& source)
{
    auto gmp = std::make_unique<TGMP>();
    ApplyFrameSettings(*source.Settings, *gmp);
    UseViewerLight(*gmp);
    if (source.LoadTextures) source.LoadTextures(*gmp);
    auto copy = std::make_unique<TFaceStore>();
    CopyStoreModel(*source.Store, *copy);
    return RenderSupersampled(*gmp, *copy, source.Settings->Width, source.Settings->Height, SmoothEdgesFactor);
}

} // namespace

std::span<const TSaveKindInfo> SaveKinds() { return Kinds; }

std::optional<TSaveKind> SaveKindOfName(const std::string& Name, std::optional<TSaveKind> Chosen)
{
    std::vector<std::string_view> extensions;
    for (const TSaveKindInfo& kind : Kinds) extensions.push_back(kind.Extension);
    extensions.push_back(".jpeg"); // the long spelling of JPEG
    const std::optional<size_t> typed = TypedExtension(Name, extensions);
    if (!typed) return std::nullopt;
    if (*typed >= Kinds.size()) return TSaveKind::Jpeg;
    for (const TSaveKindInfo& kind : Kinds)
        if (Chosen == kind.Kind && extensions[*typed] == kind.Extension) return kind.Kind;
    return Kinds[*typed].Kind;
}

bool IsPictureKind(TSaveKind Kind)
{
    return Kind == TSaveKind::Bmp || Kind == TSaveKind::Jpeg || Kind == TSaveKind::Png || Kind == TSaveKind::SmoothPng;
}

bool IsMeshKind(TSaveKind Kind) { return Kind != TSaveKind::Dxf && !IsPictureKind(Kind); }

std::vector<std::string> SaveAs(TSaveKind Kind, const std::string& FileName, const TSaveSource& Source)
{
    switch (Kind) {
    case TSaveKind::Dxf: WriteDXFFile(*Source.Store, FileName, "dxf"); return {};
    case TSaveKind::Bmp: SaveFrameBMP(*Source.Frame, FileName); return {};
    case TSaveKind::Jpeg: SaveFrameJPEG(*Source.Frame, FileName); return {};
    case TSaveKind::Png: SavePicture(FrameToImage(*Source.Frame), FileName, Notes(Source.Info)); return {};
    case TSaveKind::SmoothPng: SavePicture(SmoothEdgesPicture(Source), FileName, Notes(Source.Info)); return {};
    default: return ExportMesh(*Source.Store, FileName, Source.Info, Source.MayReplace);
    }
}

} // namespace verdel
