// The user settings and the settings file "Verdel5.ini" beside the executable.
#pragma once

#include <string>
#include <string_view>

#include "engine/prompt.h"
#include "engine/turtle.h"

namespace verdel {

// Where the windows stood when the program last closed, kept in section
// "Layout" of the settings file; empty until then.
struct TWindowLayout {
    std::string MainWindow; // the frame's geometry, as the window system saves it, in Base64
    std::string Docks;      // the frame's tool bars and docked windows, likewise
    int RenderMode = 0;     // the viewer's render mode, as TRenderMode counts
    bool LivePreview = true; // the model follows the editor's text while it is typed
};

// The user's settings; the first four are handed to the turtle at every generation.
struct TSettings {
    bool CylindersInsteadofBlocks = true; // F and Z draw tubes instead of blocks
    bool SetQToDrawCones = false;
    bool SetWToDrawBlocks = false;
    bool SetRToDrawPyramids = false;
    bool ShowStartText = false; // show the Introduction at start
    bool LiveNavigation = true; // the viewer draws the whole model while navigating, when fast enough
    bool OpenModelsUpright = true; // the viewer stands a generated model upright when it opens
    TWindowLayout Layout;
};

// The four drawing settings as the turtle takes them.
TSolidSettings SolidSettings(const TSettings& Settings);

// The settings file's name.
inline constexpr const char* SettingsFileName = "Verdel5.ini";

// The path of the settings file in Folder (ending in "/"): an existing file
// whose name matches in any letter case, else Folder + "Verdel5.ini".
std::string SettingsPath(const std::string& Folder);

// Reads the settings from Folder's settings file; a missing key or a value
// that is not a whole number leaves its flag unchanged. When Folder holds no
// file but InitialFile names one (the file beside the executable, while the
// settings live in the user's folder), Folder's file starts as a copy of it.
// Otherwise a missing file is reported ("Verdel5.ini", "File not found",
// "Default ini will be created") and created with the current flags; a file
// that cannot be written is reported once and start-up goes on with the defaults.
void LoadSettings(TSettings& Settings, const std::string& Folder, TPrompt& Prompt, const std::string& InitialFile = {});

// Reads the flags and the layout from a settings file's text; a missing
// key or a value that is not a whole number leaves its setting unchanged.
void ReadSettingsText(TSettings& Flags, std::string_view Text);

// A settings file's text with the keys of section "Startup" set to the
// flags and, once the frame has saved its geometry, the keys of section
// "Layout" set to the layout; everything else in it kept.
std::string WriteSettingsText(std::string_view Text, const TSettings& Flags);

// Writes the keys into section "Startup" of Folder's settings file,
// keeping everything else in it. Throws std::runtime_error naming the file.
void SaveSettings(const TSettings& Settings, const std::string& Folder);

// Creates an empty settings file in Folder (emptying an existing one) and saves the settings into it.
void CreateDefaultSettings(const TSettings& Settings, const std::string& Folder);

} // namespace verdel
