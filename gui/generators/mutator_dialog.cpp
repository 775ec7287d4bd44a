#include "gui/generators/mutator_dialog.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QVBoxLayout>

#include "app/program_folders.h"
#include "gui/generators/generator_window.h"
#include "gui/shared/app_state.h"
#include "gui/shared/delay.h"
#include "gui/shared/dialogs.h"
#include "gui/shared/file_memory.h"
#include "gui/shared/generate_view.h"
#include "gui/shared/text_codec.h"
#include "gui/shared/workspace.h"

namespace verdel {

namespace {

// A kind's track bar name, label name and caption; indexed by TMutatorBar.
struct TKindControl {
    const char* BarName;
    const char* LabelName;
    const char* Caption;
};

constexpr TKindControl KindControls[MutationKindCount] = {
    {"RecursionTrackBar", "RecursionLabel", "Recursion"},
    {"AngleTrackBar", "AngleLabel", "Angle"},
    {"ThicknessTrackBar", "ThicknessLabel", "Thickness"},
    {"DeletionsTrackBar", "DeletionsLabel", "Deletions"},
    {"AdditionsTrackBar", "AdditionsLabel", "Additions"},
    {"SubstitutionsTrackBar", "SubstitutionsLabel", "Substitutions"},
};

// The file name Save File offers for a text that was not loaded from a file.
const char* const MutantFileName = "Mutant01.vd";

void SetTextColor(QLabel& label, const QColor& colour)
{
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, colour);
    label.setPalette(palette);
}

} // namespace

TMutator::TMutator(QWidget* Parent) : QWidget(Parent), Mutator(RandomSource)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName("Mutator");
    setWindowTitle("Mutator");

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setPlainText(MemoText(Mutator.Memo));

    auto* top = new QHBoxLayout;
    top->addWidget(Memo1, 1);
    top->addLayout(CreateBars());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(top, 1);
    layout->addLayout(CreateButtons());
    RejectButton->setEnabled(Mutator.UndoEnabled);
}

QHBoxLayout* TMutator::CreateBars()
{
    // The six bars in a column beside the memo, their labels right of them.
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    for (int kind = 0; kind < MutationKindCount; ++kind) {
        Bars[kind] = MakeTrackBar(KindControls[kind].BarName, MutatorBars[kind], Qt::Horizontal, this);
        Bars[kind]->setFixedWidth(120);
        KindLabels[kind] = new QLabel(KindControls[kind].Caption, this);
        KindLabels[kind]->setObjectName(KindControls[kind].LabelName);
        KindLabels[kind]->setMinimumWidth(80);
        grid->addWidget(Bars[kind], kind, 0);
        grid->addWidget(KindLabels[kind], kind, 1);
    }
    ScrambleButton = MakeCommandButton("ScrambleButton", "Scramble", this);
    grid->addWidget(ScrambleButton, MutationKindCount, 0, Qt::AlignHCenter);
    SeedLabel = new QLabel(this);
    SeedLabel->setObjectName("SeedLabel");
    SeedLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    SeedLabel->setToolTip("The random source's seed when the last Mutate began");
    grid->addWidget(SeedLabel, MutationKindCount + 1, 0, 1, 2, Qt::AlignHCenter);
    grid->setRowStretch(MutationKindCount + 2, 1);

    // The radiation bar stands upright with its minimum at the top.
    Bars[mbRadiation] = MakeTrackBar("RadiationTrackBar", MutatorBars[mbRadiation], Qt::Vertical, this);
    Bars[mbRadiation]->setTickPosition(QSlider::TicksBothSides);
    Bars[mbRadiation]->setInvertedAppearance(true);
    Bars[mbRadiation]->setInvertedControls(true);
    Label1 = new QLabel("Radiation", this);
    Label1->setObjectName("Label1");
    auto* radiation = new QVBoxLayout;
    radiation->addWidget(Label1, 0, Qt::AlignHCenter);
    radiation->addWidget(Bars[mbRadiation], 1, Qt::AlignHCenter);

    RecursionTrackBar = Bars[mbRecursion];
    AngleTrackBar = Bars[mbAngle];
    ThicknessTrackBar = Bars[mbThickness];
    DeletionsTrackBar = Bars[mbDeletions];
    AdditionsTrackBar = Bars[mbAdditions];
    SubstitutionsTrackBar = Bars[mbSubstitutions];
    RadiationTrackBar = Bars[mbRadiation];
    RecursionLabel = KindLabels[mkRecursion];
    AngleLabel = KindLabels[mkAngle];
    ThicknessLabel = KindLabels[mkThickness];
    DeletionsLabel = KindLabels[mkDeletions];
    AdditionsLabel = KindLabels[mkAdditions];
    SubstitutionsLabel = KindLabels[mkSubstitutions];
    connect(ScrambleButton, &QPushButton::clicked, this, &TMutator::ScrambleButtonClick);

    auto* column = new QHBoxLayout;
    column->addLayout(grid);
    column->addSpacing(6);
    column->addLayout(radiation);
    return column;
}

QHBoxLayout* TMutator::CreateButtons()
{
    LoadFileButton = MakeCommandButton("LoadFileButton", "Load File", this);
    MutateButton = MakeCommandButton("MutateButton", "Mutate", this);
    ViewButton = MakeCommandButton("ViewButton", "View", this);
    SaveFileButton = MakeCommandButton("SaveFileButton", "Save File", this);
    RejectButton = MakeCommandButton("RejectButton", "Undo Last", this);
    CloseButton = MakeCommandButton("CloseButton", "Close", this);
    auto* row = new QHBoxLayout;
    for (QPushButton* button : {LoadFileButton, MutateButton, ViewButton, SaveFileButton, RejectButton, CloseButton})
        row->addWidget(button);

    connect(LoadFileButton, &QPushButton::clicked, this, &TMutator::LoadFileButtonClick);
    connect(MutateButton, &QPushButton::clicked, this, &TMutator::MutateButtonClick);
    connect(ViewButton, &QPushButton::clicked, this, &TMutator::ViewButtonClick);
    connect(SaveFileButton, &QPushButton::clicked, this, &TMutator::SaveFileButtonClick);
    connect(RejectButton, &QPushButton::clicked, this, &TMutator::RejectButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &TMutator::CloseButtonClick);
    return row;
}

void TMutator::FormCreate()
{
    PlaceGeneratorWindow(*this);
    RejectButton->setEnabled(false);
}

void TMutator::ReadControls()
{
    for (int bar = 0; bar < MutatorBarCount; ++bar)
        Mutator.SetPosition(static_cast<TMutatorBar>(bar), Bars[bar]->value());
    // The user may have edited the memo since the last press.
    Mutator.Memo = EngineLines(Memo1->toPlainText());
}

void TMutator::ShowMemo()
{
    // The memo keeps its scroll position, so the change can be seen in place.
    const int vertical = Memo1->verticalScrollBar()->value();
    const int horizontal = Memo1->horizontalScrollBar()->value();
    Memo1->setPlainText(MemoText(Mutator.Memo));
    Memo1->verticalScrollBar()->setValue(vertical);
    Memo1->horizontalScrollBar()->setValue(horizontal);
    RejectButton->setEnabled(Mutator.UndoEnabled);
}

void TMutator::ShowBars()
{
    for (int bar = 0; bar < MutatorBarCount; ++bar)
        Bars[bar]->setValue(Mutator.Position(static_cast<TMutatorBar>(bar)));
}

void TMutator::ShowLabels()
{
    for (int kind = 0; kind < MutationKindCount; ++kind)
        SetTextColor(*KindLabels[kind], Mutator.Changed[kind] ? Qt::red : Qt::black);
}

void TMutator::LoadFileButtonClick()
{
    const QString folder = DialogFolder(TFileKind::Definition, AppState.ProgramFolders.DefinitionFolder);
    if (!EnterFolder(folder)) return;
    const QString name = Dialogs().OpenFileName(this, folder, QString());
    if (name.isEmpty()) return;
    QString text;
    try {
        text = ReadTextFile(name);
    } catch (const std::exception& error) {
        Dialogs().Error(error.what());
        return;
    }
    Memo1->setPlainText(text);
    FileName = name;
    setWindowTitle(QFileInfo(name).fileName());
    NoteUsedFile(TFileKind::Definition, name);
}

void TMutator::MutateButtonClick()
{
    ReadControls();
    SeedLabel->setText(SeedText(RandomSource.Seed));
    if (const std::optional<std::string> fault = Mutator.Mutate()) {
        Dialogs().Message(*fault);
        return;
    }
    ShowMemo();
    ShowLabels();
}

void TMutator::ViewButtonClick()
{
    if (Busy) return;
    // The buttons stay disabled until the viewer closes, so no command runs inside View.
    TBusyButtons busy(
        Busy, {ScrambleButton, LoadFileButton, MutateButton, ViewButton, SaveFileButton, RejectButton, CloseButton});
    DelayWithMessages(250);
    ReadControls();
    GenerateAndView(Mutator.Memo, nullptr);
}

void TMutator::SaveFileButtonClick()
{
    const QString proposed =
        FileName.isEmpty() ? QDir(DialogFolder(TFileKind::Definition, AppState.ProgramFolders.NewDefinitionFolder))
                                 .filePath(MutantFileName)
                           : FileName;
    const QString name = ChooseSaveName(this, proposed);
    if (name.isEmpty()) return;
    try {
        WriteTextFile(name, Memo1->toPlainText());
    } catch (const std::exception& error) {
        Dialogs().Error(error.what());
        return;
    }
    FileName = name;
    setWindowTitle(QFileInfo(name).fileName());
}

void TMutator::RejectButtonClick()
{
    if (!Mutator.UndoLast()) return;
    ShowMemo();
}

void TMutator::ScrambleButtonClick()
{
    Mutator.Scramble();
    ShowBars();
}

void TMutator::CloseButtonClick() { CloseGeneratorWindow(*this); }

void TMutator::closeEvent(QCloseEvent* Event)
{
    // View waits while processing events; the window stays until it is done.
    if (Busy) {
        Event->ignore();
        return;
    }
    Event->accept();
}

} // namespace verdel
