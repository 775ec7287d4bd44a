// The kinds of file the viewer's Save As writes: the model on view as DXF or
// a mesh file for other 3-D tools, or the picture on show as BMP, JPEG or
// PNG, or as PNG drawn again with smooth edges.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/face_store.h"
#include "formats/mesh_content.h"
#include "formats/mesh_export.h"
#include "render/dib16.h"
#include "render/gmp.h"
#include "viewer/frame_worker.h"

namespace verdel {

enum class TSaveKind { Dxf, Bmp, Jpeg, Obj, Stl, Ply, Glb, Png, SmoothPng };

// A kind as the save dialog offers it.
struct TSaveKindInfo {
    TSaveKind Kind;
    const char* Filter;    // "AutoCad DXF (*.dxf)"
    const char* Extension; // ".dxf"
};

// Every kind, in the order of the dialog's filters (DXF first).
std::span<const TSaveKindInfo> SaveKinds();

// The kind whose extension Name ends in, in any letter case (".jpeg" too):
// Chosen itself when it writes that extension (both PNG kinds write
// ".png"), else the first kind that does; nothing for any other name.
std::optional<TSaveKind> SaveKindOfName(const std::string& Name, std::optional<TSaveKind> Chosen = std::nullopt);

// Whether Kind writes the picture rather than the model.
bool IsPictureKind(TSaveKind Kind);

// Whether Kind writes a mesh file, which may have companions beside it.
bool IsMeshKind(TSaveKind Kind);

// What a file is written from: the model and what a mesh file (or a PNG:
// the definition and seed) records of it, and the picture; a picture with
// smooth edges is drawn again from the model with the frame's Settings and
// the layer textures LoadTextures gives a renderer.
// For a mesh file, the question before it replaces files.
struct TSaveSource {
    const TFaceStore* Store = nullptr;
    const TDIB16bit* Frame = nullptr;
    TExportInfo Info;
    const TFrameSettings* Settings = nullptr;
    std::function<void(TGMP&)> LoadTextures;
    TReplaceQuestion MayReplace;
};

// How many times larger a picture with smooth edges is drawn in each direction before it is averaged down.
constexpr int SmoothEdgesFactor = 4;

// Writes FileName as Kind from Source; throws as the writers do. Returns the
// mesh writer's warnings about textures it left out.
std::vector<std::string> SaveAs(TSaveKind Kind, const std::string& FileName, const TSaveSource& Source);

} // namespace verdel
