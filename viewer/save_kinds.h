// The kinds of file the viewer's Save As writes: the model on view as DXF or
// a mesh file for other 3-D tools, or the picture on show as BMP or JPEG.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/face_store.h"
#include "formats/mesh_content.h"
#include "formats/mesh_export.h"
#include "render/dib16.h"

namespace verdel {

enum class TSaveKind { Dxf, Bmp, Jpeg, Obj, Stl, Ply, Glb };

// A kind as the save dialog offers it.
struct TSaveKindInfo {
    TSaveKind Kind;
    const char* Filter;    // "AutoCad DXF (*.dxf)"
    const char* Extension; // ".dxf"
};

// Every kind, in the order of the dialog's filters (DXF first).
std::span<const TSaveKindInfo> SaveKinds();

// The kind whose extension Name ends in, in any letter case (".jpeg" too);
// nothing for any other name.
std::optional<TSaveKind> SaveKindOfName(const std::string& Name);

// Whether Kind writes the picture rather than the model.
bool IsPictureKind(TSaveKind Kind);

// Whether Kind writes a mesh file, which may have companions beside it.
bool IsMeshKind(TSaveKind Kind);

// What a file is written from: the model and what a mesh file records of it,
// and the picture; and for a mesh file, the question before it replaces files.
struct TSaveSource {
    const TFaceStore* Store = nullptr;
    const TDIB16bit* Frame = nullptr;
    TExportInfo Info;
    TReplaceQuestion MayReplace;
};

// Writes FileName as Kind from Source; throws as the writers do. Returns the
// mesh writer's warnings about textures it left out.
std::vector<std::string> SaveAs(TSaveKind Kind, const std::string& FileName, const TSaveSource& Source);

} // namespace verdel
