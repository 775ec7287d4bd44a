// Pieces shared by the random generator and mutator windows.
#pragma once

#include <QPointer>
#include <QString>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "generators/bar_info.h"
#include "gui/shared/text_codec.h"

class QLabel;
class QPushButton;
class QSlider;
class QWidget;

namespace verdel {

// The generator windows' size inside the frame.
constexpr int GeneratorWindowWidth = 550;
constexpr int GeneratorWindowHeight = 350;

// Sizes Dialog's child window to 550 x 350 (its smallest size) and places it
// at round((W - 550) / 2), round((H - 350) / 2) + 25 of the frame's usable
// area, with a title bar holding the system menu, minimise and close only.
void PlaceGeneratorWindow(QWidget& Dialog);

// Closes Dialog's child window (or Dialog itself when it has none).
void CloseGeneratorWindow(QWidget& Dialog);

// The save dialog in the definition folder proposing Proposed; an existing
// file is written over only after Yes to "OK to overwrite NAME". Returns the
// name to write, or an empty string when the save is abandoned.
QString ChooseSaveName(QWidget* Parent, const QString& Proposed);

// A track bar with one tick per step over Bar's range, at its start position.
QSlider* MakeTrackBar(const char* Name, const TBarInfo& Bar, Qt::Orientation Orientation, QWidget* Parent);

// A command button along the bottom of a generator window.
QPushButton* MakeCommandButton(const char* Name, const QString& Caption, QWidget* Parent);

// The seed label's text: "Seed: N", the source's whole state before the last draws.
QString SeedText(uint32_t Seed);

// Marks a window busy and disables its buttons for the life of the guard;
// afterwards each button gets back the state it had, also when the work failed.
class TBusyButtons {
public:
    TBusyButtons(bool& Busy, std::initializer_list<QPushButton*> Buttons);
    ~TBusyButtons();
    TBusyButtons(const TBusyButtons&) = delete;
    TBusyButtons& operator=(const TBusyButtons&) = delete;

private:
    bool& Busy;
    std::vector<std::pair<QPointer<QPushButton>, bool>> Buttons;
};

} // namespace verdel
