// The GUI's module-level records: the one model, definition, settings and
// folders that the windows share, and the program's single windows. The core
// never sees these; every core call receives the record it works on.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <string>

#include "app/file_history.h"
#include "app/program_folders.h"
#include "app/settings.h"
#include "engine/definition.h"
#include "engine/face_store.h"
#include "engine/generation.h"
#include "render/rgb_image.h"

namespace verdel {

class TMainForm;
class TWorkspace;
class TViewForm;
class TGenOpsForm;
class TTextureDialog;

// The program's model, shown by the viewer and written by its exports.
extern TFaceStore FaceStore;

// The navigation proxy read from "outline.dxf" when the viewer is created.
extern TFaceStore OutlineStore;

// The definition state of the last generation.
extern TDefinitionState DefinitionState;

// The user's settings, at their defaults until LoadSettings reads the file.
extern TSettings Settings;

// The program's folders, set when the main window is created.
extern TProgramFolders ProgramFolders;

// The recent files and the folder last used for each kind of file.
extern TFileHistory FileHistory;

// Objects and production length of the last generation (shown by the viewer).
extern int LastObjectCount;
extern int ProductionLength;

// Objects the last generation left out because their coordinates were not finite numbers.
extern int LastNonFiniteObjects;

// Path of the definition last generated; gives exports their default name.
extern std::string CurrentFileName;

// The text of the definition last generated, lines ended by LF, and the random
// source's seed when its generation began: mesh exports record both.
extern std::string LastDefinitionText;
extern uint32_t LastGenerationSeed;

// Layer 1..12's texture picture (entry 0 unused); an empty picture gives a white texture.
extern std::array<TRgbImage, 13> LayerBitmaps;

// The file each layer's picture came from (empty for a white texture), for mesh exports.
extern std::array<QString, 13> LayerBitmapFiles;

// The layer button named CurrentTextureButton ("BB01" .. "BB12") is choosing a texture.
extern QString CurrentTextureButton;

// The program's single windows, created at start-up. Other windows reach the
// main frame through Workspace, the same object seen through what they need.
extern TMainForm* MainForm;
extern TWorkspace* Workspace;
extern TViewForm* ViewForm;
extern TGenOpsForm* GenOpsForm;
extern TTextureDialog* TextureDialog;

// Keeps what a finished generation reports: object count, production length,
// objects left out, definition text and seed.
void RecordGeneration(const TGenerationResult& Result);

} // namespace verdel
