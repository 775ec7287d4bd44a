#include "viewer/save_kinds.h"

#include <array>
#include <string_view>

#include "formats/dxf_writer.h"
#include "formats/mesh_export.h"
#include "render/image_files.h"
#include "viewer/export_names.h"

namespace verdel {

namespace {

constexpr std::array<TSaveKindInfo, 7> Kinds = {{
    {TSaveKind::Dxf, "AutoCad DXF (*.dxf)", ".dxf"},
    {TSaveKind::Bmp, "Windows BMP (*.bmp)", ".bmp"},
    {TSaveKind::Jpeg, "JPeg (*.jpg)", ".jpg"},
    {TSaveKind::Obj, "Wavefront OBJ (*.obj)", ".obj"},
    {TSaveKind::Stl, "STL (*.stl)", ".stl"},
    {TSaveKind::Ply, "PLY (*.ply)", ".ply"},
    {TSaveKind::Glb, "glTF binary (*.glb)", ".glb"},
}};

} // namespace

std::span<const TSaveKindInfo> SaveKinds() { return Kinds; }

std::optional<TSaveKind> SaveKindOfName(const std::string& Name)
{
    std::vector<std::string_view> extensions;
    for (const TSaveKindInfo& kind : Kinds) extensions.push_back(kind.Extension);
    extensions.push_back(".jpeg"); // the long spelling of JPEG
    const std::optional<size_t> typed = TypedExtension(Name, extensions);
    if (!typed) return std::nullopt;
    return *typed < Kinds.size() ? Kinds[*typed].Kind : TSaveKind::Jpeg;
}

bool IsPictureKind(TSaveKind Kind) { return Kind == TSaveKind::Bmp || Kind == TSaveKind::Jpeg; }

bool IsMeshKind(TSaveKind Kind) { return Kind != TSaveKind::Dxf && !IsPictureKind(Kind); }

std::vector<std::string> SaveAs(TSaveKind Kind, const std::string& FileName, const TSaveSource& Source)
{
    switch (Kind) {
    case TSaveKind::Dxf: WriteDXFFile(*Source.Store, FileName, "dxf"); return {};
    case TSaveKind::Bmp: SaveFrameBMP(*Source.Frame, FileName); return {};
    case TSaveKind::Jpeg: SaveFrameJPEG(*Source.Frame, FileName); return {};
    default: return ExportMesh(*Source.Store, FileName, Source.Info, Source.MayReplace);
    }
}

} // namespace verdel
