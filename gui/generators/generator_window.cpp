#include "gui/generators/generator_window.h"

#include <QDir>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSlider>
#include <cmath>

#include "app/program_folders.h"
#include "gui/shared/app_state.h"
#include "gui/shared/dialogs.h"
#include "gui/shared/file_memory.h"
#include "gui/shared/workspace.h"

namespace verdel {

void PlaceGeneratorWindow(QWidget& Dialog)
{
    auto* frame = qobject_cast<QMdiSubWindow*>(Dialog.parentWidget());
    QWidget* window = frame ? static_cast<QWidget*>(frame) : &Dialog;
    if (frame) {
        // System menu, minimise and close; no maximise box.
        frame->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
        frame->show();
    }
    // It may grow, but not shrink below the size its controls are laid out for.
    window->setMinimumSize(GeneratorWindowWidth, GeneratorWindowHeight);
    window->resize(GeneratorWindowWidth, GeneratorWindowHeight);
    if (!AppState.Workspace) return;
    // Halves round to the even neighbour, as everywhere in the program.
    const QSize usable = AppState.Workspace->UsableClientSize();
    const int left = static_cast<int>(std::nearbyint((usable.width() - GeneratorWindowWidth) / 2.0));
    const int top = static_cast<int>(std::nearbyint((usable.height() - GeneratorWindowHeight) / 2.0));
    window->move(left, top + 25);
}

void CloseGeneratorWindow(QWidget& Dialog)
{
    if (auto* frame = qobject_cast<QMdiSubWindow*>(Dialog.parentWidget())) frame->close();
    else Dialog.close();
}

QString ChooseSaveName(QWidget* Parent, const QString& Proposed)
{
    const QString folder = DialogFolder(TFileKind::Definition, AppState.ProgramFolders.NewDefinitionFolder);
    if (!EnterFolder(folder)) return {};
    int filter = 0;
    const QString name = Dialogs().SaveFileName(Parent, folder, Proposed, {}, filter);
    if (name.isEmpty()) return {};
    if (!MayOverwrite(name)) return {};
    NoteUsedFile(TFileKind::Definition, name);
    return name;
}

QSlider* MakeTrackBar(const char* Name, const TBarInfo& Bar, Qt::Orientation Orientation, QWidget* Parent)
{
    auto* slider = new QSlider(Orientation, Parent);
    slider->setObjectName(Name);
    slider->setRange(Bar.Min, Bar.Max);
    slider->setValue(Bar.Default);
    slider->setPageStep(1);
    slider->setTickInterval(1);
    slider->setTickPosition(QSlider::TicksBelow);
    return slider;
}

QPushButton* MakeCommandButton(const char* Name, const QString& Caption, QWidget* Parent)
{
    auto* button = new QPushButton(Caption, Parent);
    button->setObjectName(Name);
    button->setMinimumWidth(75);
    button->setAutoDefault(false);
    return button;
}

QString SeedText(uint32_t Seed) { return QString("Seed: %1").arg(Seed); }

TBusyButtons::TBusyButtons(bool& busy, std::initializer_list<QPushButton*> List) : Busy(busy)
{
    Busy = true;
    for (QPushButton* button : List) {
        Buttons.emplace_back(button, button->isEnabled());
        button->setEnabled(false);
    }
}

TBusyButtons::~TBusyButtons()
{
    for (auto& [button, enabled] : Buttons)
        if (button) button->setEnabled(enabled);
    Busy = false;
}

} // namespace verdel
