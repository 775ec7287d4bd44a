#include "gui/options_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/program_folders.h"
#include "app/settings.h"
#include "gui/shared/app_state.h"
#include "gui/shared/dialogs.h"

namespace verdel {

namespace {

QCheckBox* MakeBox(const char* name, const QString& caption, QWidget* parent, QLayout* layout)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    layout->addWidget(box);
    return box;
}

} // namespace

TGenOpsForm::TGenOpsForm(QWidget* Parent) : QDialog(Parent)
{
    setObjectName("GenOpsForm");
    setWindowTitle("General Options");
    setFixedSize(407, 345);

    auto* group1 = new QGroupBox("Extended Blocks", this);
    group1->setObjectName("GroupBox1");
    auto* blocks = new QVBoxLayout(group1);
    CB1 = MakeBox("CB1", "Use Cylinders as basic Building Block", group1, blocks);
    CB2 = MakeBox("CB2", "Set Q = Draw Cone", group1, blocks);
    CB3 = MakeBox("CB3", "Set W = Draw Block", group1, blocks);
    CB4 = MakeBox("CB4", "Set R = Draw Pyramid", group1, blocks);

    auto* group2 = new QGroupBox("General", this);
    group2->setObjectName("GroupBox2");
    auto* general = new QVBoxLayout(group2);
    CB5 = MakeBox("CB5", "Show Startup Dialog", group2, general);
    CB6 = MakeBox("CB6", "Live navigation", group2, general);
    CB6->setToolTip("While you turn or move the model, the viewer draws the whole model at every step when a "
                    "frame takes at most 40 ms;\notherwise, or with this box cleared, a box stands in for it "
                    "until you pause.");
    CB7 = MakeBox("CB7", "Open models upright", group2, general);
    CB7->setToolTip("A generated model opens turned so that it grows up the screen (View > Upright, key U).");

    OKButton = new QPushButton("Accept", this);
    OKButton->setObjectName("OKButton");
    OKButton->setDefault(true);
    CancelButton = new QPushButton("Cancel", this);
    CancelButton->setObjectName("CancelButton");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addWidget(group1);
    layout->addWidget(group2);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(OKButton, &QPushButton::clicked, this, &TGenOpsForm::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TGenOpsForm::CancelButtonClick);
}

void TGenOpsForm::showEvent(QShowEvent* Event)
{
    QDialog::showEvent(Event);
    // Centred on the main window.
    if (parentWidget()) move(parentWidget()->geometry().center() - rect().center());
    FormActivate();
}

void TGenOpsForm::FormActivate()
{
    CB1->setChecked(AppState.Settings.CylindersInsteadofBlocks);
    CB2->setChecked(AppState.Settings.SetQToDrawCones);
    CB3->setChecked(AppState.Settings.SetWToDrawBlocks);
    CB4->setChecked(AppState.Settings.SetRToDrawPyramids);
    CB5->setChecked(AppState.Settings.ShowStartText);
    CB6->setChecked(AppState.Settings.LiveNavigation);
    CB7->setChecked(AppState.Settings.OpenModelsUpright);
}

void TGenOpsForm::OKButtonClick()
{
    AppState.Settings.CylindersInsteadofBlocks = CB1->isChecked();
    AppState.Settings.SetQToDrawCones = CB2->isChecked();
    AppState.Settings.SetWToDrawBlocks = CB3->isChecked();
    AppState.Settings.SetRToDrawPyramids = CB4->isChecked();
    AppState.Settings.ShowStartText = CB5->isChecked();
    AppState.Settings.LiveNavigation = CB6->isChecked();
    AppState.Settings.OpenModelsUpright = CB7->isChecked();
    try {
        SaveSettings(AppState.Settings, AppState.ProgramFolders.SettingsFolder);
    } catch (const std::exception& error) {
        Dialogs().Error(error.what());
    }
    accept();
}

void TGenOpsForm::CancelButtonClick() { reject(); }

} // namespace verdel
