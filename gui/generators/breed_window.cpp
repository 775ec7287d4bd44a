#include "gui/generators/breed_window.h"

#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "generators/extended_mutation.h"
#include "gui/generators/breed_cell.h"
#include "gui/generators/generator_window.h"
#include "gui/generators/mutator_dialog.h"
#include "gui/shared/app_state.h"
#include "gui/shared/dialogs.h"
#include "gui/shared/generate_view.h"
#include "gui/shared/text_codec.h"
#include "gui/shared/workspace.h"

namespace verdel {

namespace {

QPushButton* MakeButton(const char* name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

QString BarsText(const TMutatorBars& bars)
{
    QStringList parts;
    for (int bar = 0; bar < MutatorBarCount; ++bar) parts << QString("%1 %2").arg(MutatorBars[bar].Name).arg(bars[bar]);
    return "Mutator bars: " + parts.join(", ");
}

} // namespace

TBreedWindow::TBreedWindow(QWidget* Parent) : QWidget(Parent, Qt::Window)
{
    setObjectName("BreedWindow");
    setWindowTitle("Breed");
    setAttribute(Qt::WA_DeleteOnClose);

    SeedEdit = new QLineEdit(this);
    SeedEdit->setObjectName("SeedEdit");
    SeedEdit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{1,10}"), SeedEdit));
    SeedEdit->setFixedWidth(100);
    SeedEdit->setText(QString::number(SeedFromTimeOfDay()));
    SeedEdit->setToolTip("The gallery seed: the same start, seed, bars and picks breed the same definitions");
    Restart_Btn = MakeButton("Restart_Btn", "Restart", this);
    Restart_Btn->setToolTip("Breed again from the start with this seed and the Mutator's current bars");
    Load_Btn = MakeButton("Load_Btn", "Load...", this);
    LineageLabel = new QLabel(this);
    LineageLabel->setObjectName("LineageLabel");
    LineageLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = LineageLabel->font();
    bold.setBold(true);
    LineageLabel->setFont(bold);
    BarsLabel = new QLabel(this);
    BarsLabel->setObjectName("BarsLabel");
    HintLabel = new QLabel(this);
    HintLabel->setObjectName("HintLabel");
    HintLabel->setWordWrap(true);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("Seed:", this));
    top->addWidget(SeedEdit);
    top->addWidget(Restart_Btn);
    top->addWidget(Load_Btn);
    top->addSpacing(12);
    top->addWidget(LineageLabel, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(BarsLabel);
    layout->addWidget(CreateGrid());
    layout->addWidget(HintLabel);
    layout->addLayout(CreateButtons());

    connect(Restart_Btn, &QPushButton::clicked, this, &TBreedWindow::Restart_BtnClick);
    connect(Load_Btn, &QPushButton::clicked, this, &TBreedWindow::Load_BtnClick);
    UpdateControls();
}

QWidget* TBreedWindow::CreateGrid()
{
    auto* grid = new QWidget(this);
    grid->setObjectName("CellGrid");
    auto* layout = new QGridLayout(grid);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    for (size_t place = 0; place < GalleryGrid.size(); ++place) {
        const int number = GalleryGrid[place];
        auto* cell = new TBreedCell(number, grid);
        Cells[static_cast<size_t>(number)] = cell;
        layout->addWidget(cell, static_cast<int>(place / 3), static_cast<int>(place % 3));
        connect(cell, &TBreedCell::Clicked, this, &TBreedWindow::CellClicked);
        connect(cell, &TBreedCell::EditRequested, this, &TBreedWindow::EditCell);
        connect(cell, &TBreedCell::ViewRequested, this, &TBreedWindow::ViewCell);
    }
    return grid;
}

QLayout* TBreedWindow::CreateButtons()
{
    Back_Btn = MakeButton("Back_Btn", "< Back", this);
    Back_Btn->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    Forward_Btn = MakeButton("Forward_Btn", "Forward >", this);
    Forward_Btn->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
    Save_Btn = MakeButton("Save_Btn", "Save...", this);
    Save_Btn->setToolTip("Save the parent on show, the definition chosen so far");
    Close_Btn = MakeButton("Close_Btn", "Close", this);
    connect(Back_Btn, &QPushButton::clicked, this, &TBreedWindow::Back_BtnClick);
    connect(Forward_Btn, &QPushButton::clicked, this, &TBreedWindow::Forward_BtnClick);
    connect(Save_Btn, &QPushButton::clicked, this, &TBreedWindow::Save_BtnClick);
    connect(Close_Btn, &QPushButton::clicked, this, &QWidget::close);
    auto* row = new QHBoxLayout;
    row->addWidget(Back_Btn);
    row->addWidget(Forward_Btn);
    row->addStretch();
    row->addWidget(Save_Btn);
    row->addWidget(Close_Btn);
    return row;
}

void TBreedWindow::StartGallery(const TLines& NewStart, uint32_t Seed, const TMutatorBars& Bars,
                                const TSolidSettings& NewSolids)
{
    // An extended definition without constants or weights has nothing to breed from.
    if (const std::optional<std::string> nothing = NothingToMutate(NewStart)) {
        Dialogs().Message(*nothing);
        return;
    }
    Start = NewStart;
    Solids = NewSolids;
    Marked = 0;
    Breeding = std::make_unique<TBreedingGallery>(Start, Seed, Bars);
    SeedEdit->setText(QString::number(Seed));
    BarsLabel->setText(BarsText(Bars));
    ShowGeneration();
}

const TLines& TBreedWindow::CellText(int Number) const
{
    const TBreedGeneration& generation = Breeding->Current();
    return Number == 0 ? generation.Parent : generation.Children[static_cast<size_t>(Number - 1)].Text;
}

uint32_t TBreedWindow::CellSeed(int Number) const
{
    const TBreedGeneration& generation = Breeding->Current();
    return Number == 0 ? generation.ParentSeed : generation.Children[static_cast<size_t>(Number - 1)].Seed;
}

void TBreedWindow::ShowGeneration()
{
    for (int number = 0; number <= BreedChildCount; ++number) {
        Cells[static_cast<size_t>(number)]->ShowDefinition(CellText(number), CellSeed(number), Solids);
        Cells[static_cast<size_t>(number)]->SetMarked(number != 0 && number == Marked);
    }
    UpdateControls();
}

void TBreedWindow::UpdateControls()
{
    const bool started = Breeding != nullptr;
    LineageLabel->setText(started ? QString::fromStdString(Breeding->LineageText())
                                  : "Load a definition to breed from");
    Back_Btn->setEnabled(started && Breeding->CanBack());
    Forward_Btn->setEnabled(started && Breeding->CanForward());
    Restart_Btn->setEnabled(started);
    Save_Btn->setEnabled(started);
    for (TBreedCell* cell : Cells) {
        cell->Edit_Btn->setEnabled(started);
        cell->View_Btn->setEnabled(started);
    }
    QString hint = Marked ? QString("Child %1 is the second parent: click a child to cross it with child %1, "
                                    "Ctrl+click to unmark it.")
                                .arg(Marked)
                          : "Click a child to breed from it; Ctrl+click marks a second parent for a crossover.";
    const int unchanged = started ? UnchangedChildren() : 0;
    if (unchanged > 0)
        hint += QString("\n%1 of 8 children are the parent unchanged: raise the Mutator's bars (radiation first) "
                        "and press Restart for livelier ones.")
                    .arg(unchanged);
    HintLabel->setText(hint);
}

int TBreedWindow::UnchangedChildren() const
{
    const TBreedGeneration& generation = Breeding->Current();
    return static_cast<int>(std::count_if(generation.Children.begin(), generation.Children.end(),
                                          [&](const TBreedChild& child) { return child.Text == generation.Parent; }));
}

void TBreedWindow::CellClicked(int Number, bool Ctrl)
{
    if (!Breeding || Number < 1 || Number > BreedChildCount) return;
    if (Ctrl) {
        Cells[static_cast<size_t>(Marked)]->SetMarked(false);
        Marked = Marked == Number ? 0 : Number;
        if (Marked) Cells[static_cast<size_t>(Marked)]->SetMarked(true);
        UpdateControls();
        return;
    }
    Breeding->Pick(Number, Marked == Number ? 0 : Marked);
    Marked = 0;
    ShowGeneration();
}

void TBreedWindow::Back_BtnClick()
{
    if (!Breeding || !Breeding->Back()) return;
    Marked = 0;
    ShowGeneration();
}

void TBreedWindow::Forward_BtnClick()
{
    if (!Breeding || !Breeding->Forward()) return;
    Marked = 0;
    ShowGeneration();
}

void TBreedWindow::Restart_BtnClick()
{
    if (!Breeding) return;
    bool ok = false;
    const uint32_t seed = SeedEdit->text().toUInt(&ok);
    StartGallery(Start, ok ? seed : Breeding->Seed(), CurrentMutatorBars(parentWidget()), Solids);
}

void TBreedWindow::Load_BtnClick()
{
    const QString folder = QString::fromStdString(AppState.ProgramFolders.DefinitionFolder);
    if (!EnterFolder(folder)) return;
    const QString name = Dialogs().OpenFileName(this, folder, "Definitions (*.vd);;All files (*)");
    if (name.isEmpty()) return;
    try {
        const TLines lines = EngineLines(ReadTextFile(name));
        bool ok = false;
        const uint32_t typed = SeedEdit->text().toUInt(&ok);
        StartGallery(lines, ok ? typed : SeedFromTimeOfDay(), CurrentMutatorBars(parentWidget()),
                     SolidSettings(AppState.Settings));
    } catch (const std::exception& error) {
        Dialogs().Error(error.what());
    }
}

void TBreedWindow::Save_BtnClick()
{
    if (!Breeding) return;
    const QString proposed =
        QString::fromStdString(AppState.ProgramFolders.DefinitionFolder) + QString("Bred-%1.vd").arg(Breeding->Seed());
    const QString name = ChooseSaveName(this, proposed);
    if (name.isEmpty()) return;
    try {
        WriteLinesToFile(QFile::encodeName(name).toStdString(), Breeding->Current().Parent);
    } catch (const std::exception& error) {
        Dialogs().Error(error.what());
    }
}

void TBreedWindow::EditCell(int Number)
{
    if (Breeding && AppState.Workspace) AppState.Workspace->OpenEditorWithText(MemoText(CellText(Number)));
}

void TBreedWindow::ViewCell(int Number)
{
    if (!Breeding) return;
    // The viewer shows the model the thumbnail shows: the same text and random seed.
    RandomSource.Seed = CellSeed(Number);
    // The viewer's title (and an export's proposed name) names the cell.
    const QString cell = Number == 0 ? QString("Parent") : QString("Child %1").arg(Number);
    const QString name = QString::fromStdString(AppState.ProgramFolders.DefinitionFolder) +
                         QString("Bred-%1 %2.vd").arg(Breeding->Seed()).arg(cell);
    GenerateAndView(CellText(Number), &name);
}

void TBreedWindow::FinishRendering()
{
    for (TBreedCell* cell : Cells) cell->FinishPending();
}

TMutatorBars CurrentMutatorBars(QWidget* Frame)
{
    TMutatorBars bars = DefaultMutatorBars();
    const TMutator* mutator = Frame ? Frame->findChild<TMutator*>() : nullptr;
    if (!mutator) return bars;
    const QSlider* sliders[MutatorBarCount] = {mutator->RecursionTrackBar, mutator->AngleTrackBar,
                                               mutator->ThicknessTrackBar, mutator->DeletionsTrackBar,
                                               mutator->AdditionsTrackBar, mutator->SubstitutionsTrackBar,
                                               mutator->RadiationTrackBar};
    for (int bar = 0; bar < MutatorBarCount; ++bar) bars[static_cast<size_t>(bar)] = sliders[bar]->value();
    return bars;
}

QAction* AddBreedItem(QMenu* Menu, QWidget* Frame)
{
    QAction* action = Menu->addAction("&Breed...");
    action->setObjectName("Breed1");
    QObject::connect(action, &QAction::triggered, Frame, [Frame] {
        auto* window = Frame->findChild<TBreedWindow*>();
        if (!window) {
            window = new TBreedWindow(Frame);
            const std::optional<TLines> lines =
                AppState.Workspace ? AppState.Workspace->ActiveDefinition() : std::nullopt;
            if (lines)
                window->StartGallery(*lines, SeedFromTimeOfDay(), CurrentMutatorBars(Frame),
                                     SolidSettings(AppState.Settings));
        }
        window->show();
        window->raise();
        window->activateWindow();
    });
    return action;
}

} // namespace verdel
