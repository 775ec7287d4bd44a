// The application state: the records the windows share, in one object that
// tests put back as it was at start-up in one call. The core never sees it;
// every core call receives the record it works on, and models travel from
// window to window by hand (see engine/model.h), never through here.
#pragma once

#include <QString>
#include <array>
#include <functional>
#include <string>

#include "app/file_history.h"
#include "app/program_folders.h"
#include "app/settings.h"
#include "render/rgb_image.h"

namespace verdel {

class TDialogs;
class TGenerationThread;
class TWorkspace;

struct TAppState {
    // The user's settings, at their defaults until LoadSettings reads the file.
    TSettings Settings;
    // The program's folders, set when the main window is created.
    TProgramFolders ProgramFolders;
    // The recent files and the folder last used for each kind of file.
    TFileHistory FileHistory;

    // Layer 1..12's texture picture (entry 0 unused); an empty picture gives a white texture.
    std::array<TRgbImage, 13> LayerBitmaps;
    // The file each layer's picture came from (empty for a white texture), for mesh exports.
    std::array<QString, 13> LayerBitmapFiles;
    // The layer button named CurrentTextureButton ("BB01" .. "BB12") is choosing a texture.
    QString CurrentTextureButton;

    // Path of the definition the editor or the random generator generated
    // last: the models generated from then on take their export name from it.
    std::string CurrentFileName;

    // The main frame, as the windows inside it see it; null before it is made.
    TWorkspace* Workspace = nullptr;
    // The dialogs a test installed; null for the standard ones.
    TDialogs* Dialogs = nullptr;
    // What DelayWithMessages does instead of waiting on the clock (tests); empty for the real wait.
    std::function<void(int Milliseconds)> DelayHandler;
    // The generation now running off the GUI thread; null when none runs.
    TGenerationThread* Generation = nullptr;
};

// The one application state of the program.
extern TAppState AppState;

// Puts the application state back as it was when the program started.
void ResetAppState();

} // namespace verdel
