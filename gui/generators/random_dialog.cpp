#include "gui/generators/random_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/program_folders.h"
#include "gui/generators/generator_window.h"
#include "gui/shared/app_state.h"
#include "gui/shared/delay.h"
#include "gui/shared/dialogs.h"
#include "gui/shared/file_memory.h"
#include "gui/shared/generate_view.h"
#include "gui/shared/workspace.h"

namespace verdel {

namespace {

// A track bar's control name and the caption of its label.
struct TBarControl {
    const char* Name;
    const char* Caption;
};

// Indexed by TRandomBar.
constexpr TBarControl BarControls[RandomBarCount] = {
    {"TB_Rules", "RULES"},  {"TB_RuleLength", "RULE LENGTH"}, {"TB_Interaction", "INTERACTION"},
    {"TB_Draw", "DRAWING"}, {"TB_Move", "MOVEMENT"},          {"TB_Orient", "ORIENTATION"},
    {"TB_Color", "COLOR"},  {"TB_Branch", "BRANCHING"},       {"TB_Polys", "POLYGONS"},
};

// A lock's check box name, caption and edit name; indexed by TRandomLock.
struct TLockControl {
    const char* BoxName;
    const char* Caption;
    const char* EditName;
};

constexpr TLockControl LockControls[RandomLockCount] = {
    {"IterationsCheckBox", "Iterations", "IterationsEdit"},
    {"AngleCheckBox", "Angle", "AngleEdit"},
    {"ThicknessCheckBox", "Thickness", "ThicknessEdit"},
    {"RulesCheckBox", "Rules", "RulesEdit"},
    {"AxiomCheckBox", "Axiom", "AxiomEdit"},
};

} // namespace

TRandom1::TRandom1(QWidget* Parent) : QWidget(Parent), Generator(RandomSource)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName("Random1");
    setWindowTitle("Random Generator");

    auto* left = new QWidget(this);
    // The memo takes the rest of the width: rule lines are long.
    left->setFixedWidth(300);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    CreateLocks(left);
    leftLayout->addLayout(LockGrid);
    CreatePages(left);
    leftLayout->addWidget(PageControl1, 1);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setPlainText(MemoText(Generator.Memo));

    auto* top = new QHBoxLayout;
    top->addWidget(left, 0);
    top->addWidget(Memo1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(top, 1);
    layout->addLayout(CreateButtons());
}

void TRandom1::CreateLocks(QWidget* area)
{
    LockGrid = new QGridLayout;
    LockGrid->setHorizontalSpacing(6);
    LockGrid->setVerticalSpacing(3);
    Label11 = new QLabel("Lock", area);
    Label11->setObjectName("Label11");
    Label12 = new QLabel("Lock", area);
    Label12->setObjectName("Label12");
    LockGrid->addWidget(Label11, 0, 0, Qt::AlignRight);
    LockGrid->addWidget(Label12, 0, 3, Qt::AlignRight);

    QFont underlined = font();
    underlined.setUnderline(true);
    for (int lock = 0; lock < RandomLockCount; ++lock) {
        auto* box = new QCheckBox(LockControls[lock].Caption, area);
        box->setObjectName(LockControls[lock].BoxName);
        box->setFont(underlined);
        // The caption stands left of the box.
        box->setLayoutDirection(Qt::RightToLeft);
        auto* edit = new QLineEdit(area);
        edit->setObjectName(LockControls[lock].EditName);
        edit->setEnabled(false);
        if (lock != rlAxiom) {
            edit->setFixedWidth(42);
            edit->installEventFilter(this);
        }
        LockBoxes[lock] = box;
        LockEdits[lock] = edit;
        // Iterations, angle and thickness in the first column; rules and axiom in the second.
        const int row = lock < rlRules ? 1 + lock : 1 + lock - rlRules;
        const int column = lock < rlRules ? 0 : 3;
        LockGrid->addWidget(box, row, column, Qt::AlignRight);
        LockGrid->addWidget(edit, row, column + 1);
    }
    LockGrid->setColumnMinimumWidth(2, 12);
    LockGrid->setColumnStretch(4, 1);

    IterationsCheckBox = LockBoxes[rlIterations];
    AngleCheckBox = LockBoxes[rlAngle];
    ThicknessCheckBox = LockBoxes[rlThickness];
    RulesCheckBox = LockBoxes[rlRules];
    AxiomCheckBox = LockBoxes[rlAxiom];
    IterationsEdit = LockEdits[rlIterations];
    AngleEdit = LockEdits[rlAngle];
    ThicknessEdit = LockEdits[rlThickness];
    RulesEdit = LockEdits[rlRules];
    AxiomEdit = LockEdits[rlAxiom];
    connect(IterationsCheckBox, &QCheckBox::toggled, this, &TRandom1::IterationsCheckBoxClick);
    connect(AngleCheckBox, &QCheckBox::toggled, this, &TRandom1::AngleCheckBoxClick);
    connect(ThicknessCheckBox, &QCheckBox::toggled, this, &TRandom1::ThicknessCheckBoxClick);
    connect(RulesCheckBox, &QCheckBox::toggled, this, &TRandom1::RulesCheckBoxClick);
    connect(AxiomCheckBox, &QCheckBox::toggled, this, &TRandom1::AxiomCheckBoxClick);
}

void TRandom1::CreatePages(QWidget* area)
{
    PageControl1 = new QTabWidget(area);
    PageControl1->setObjectName("PageControl1");
    const struct {
        const char* Name;
        const char* Caption;
        int First;
        int Last;
    } pages[] = {{"TabSheet1", "Rules", rbRules, rbInteraction},
                 {"TabSheet2", "Commands", rbDraw, rbColor},
                 {"TabSheet3", "Branching", rbBranch, rbPolys}};
    for (const auto& page : pages) {
        auto* sheet = new QWidget;
        sheet->setObjectName(page.Name);
        auto* grid = new QGridLayout(sheet);
        grid->setContentsMargins(8, 6, 8, 6);
        grid->setVerticalSpacing(2);
        for (int bar = page.First; bar <= page.Last; ++bar) {
            const int row = bar - page.First;
            auto* label = new QLabel(BarControls[bar].Caption, sheet);
            Bars[bar] = MakeTrackBar(BarControls[bar].Name, RandomBars[bar], Qt::Horizontal, sheet);
            label->setBuddy(Bars[bar]);
            grid->addWidget(label, row, 0);
            grid->addWidget(Bars[bar], row, 1);
        }
        grid->setColumnStretch(1, 1);
        grid->setRowStretch(page.Last - page.First + 1, 1);
        PageControl1->addTab(sheet, page.Caption);
    }
    PageControl1->setCurrentIndex(0);

    TB_Rules = Bars[rbRules];
    TB_RuleLength = Bars[rbRuleLength];
    TB_Interaction = Bars[rbInteraction];
    TB_Draw = Bars[rbDraw];
    TB_Move = Bars[rbMove];
    TB_Orient = Bars[rbOrient];
    TB_Color = Bars[rbColor];
    TB_Branch = Bars[rbBranch];
    TB_Polys = Bars[rbPolys];
}

QHBoxLayout* TRandom1::CreateButtons()
{
    SeedLabel = new QLabel(this);
    SeedLabel->setObjectName("SeedLabel");
    SeedLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    SeedLabel->setToolTip("The random source's seed when the last Go began");
    EditBtn = MakeCommandButton("EditBtn", "Edit", this);
    SaveBtn = MakeCommandButton("SaveBtn", "Save", this);
    Button2 = MakeCommandButton("Button2", "Randomize", this);
    BB_Go = MakeCommandButton("BB_Go", "Go", this);
    Button1 = MakeCommandButton("Button1", "Exit", this);

    auto* row = new QHBoxLayout;
    row->addWidget(SeedLabel);
    row->addStretch(1);
    for (QPushButton* button : {EditBtn, SaveBtn, Button2, BB_Go, Button1}) row->addWidget(button);

    connect(EditBtn, &QPushButton::clicked, this, &TRandom1::EditBtnClick);
    connect(SaveBtn, &QPushButton::clicked, this, &TRandom1::SaveBtnClick);
    connect(Button2, &QPushButton::clicked, this, &TRandom1::Button2Click);
    connect(BB_Go, &QPushButton::clicked, this, &TRandom1::BB_GoClick);
    connect(Button1, &QPushButton::clicked, this, &TRandom1::Button1Click);
    return row;
}

void TRandom1::FormCreate() { PlaceGeneratorWindow(*this); }

void TRandom1::ReadControls()
{
    for (int bar = 0; bar < RandomBarCount; ++bar)
        Generator.SetPosition(static_cast<TRandomBar>(bar), Bars[bar]->value());
    for (int lock = 0; lock < RandomLockCount; ++lock)
        Generator.Locks[lock] = {LockBoxes[lock]->isChecked(), EngineText(LockEdits[lock]->text())};
}

void TRandom1::ShowLock(TRandomLock lock)
{
    const std::string& text = Generator.Locks[lock].Text;
    const QString shown = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    if (LockEdits[lock]->text() != shown) LockEdits[lock]->setText(shown);
}

void TRandom1::ShowLocks()
{
    for (int lock = 0; lock < RandomLockCount; ++lock) ShowLock(static_cast<TRandomLock>(lock));
}

void TRandom1::ShowBars()
{
    for (int bar = 0; bar < RandomBarCount; ++bar)
        Bars[bar]->setValue(Generator.Position(static_cast<TRandomBar>(bar)));
}

void TRandom1::BB_GoClick()
{
    if (Busy) return;
    // The buttons stay disabled until the viewer closes, so a second Go cannot start inside this one.
    TBusyButtons busy(Busy, {EditBtn, SaveBtn, Button2, BB_Go, Button1});
    ReadControls();
    SeedLabel->setText(SeedText(RandomSource.Seed));
    const std::optional<std::string> fault = Generator.Go();
    ShowLocks();
    if (fault) {
        Dialogs().Message(*fault);
        return;
    }
    Memo1->setPlainText(MemoText(Generator.Memo));
    DelayWithMessages(250);
    const QString fileName = RandomFileName;
    GenerateAndView(Generator.Memo, &fileName);
}

void TRandom1::Button2Click()
{
    ReadControls();
    Generator.Randomize();
    ShowBars();
}

void TRandom1::SaveBtnClick()
{
    const QString folder = DialogFolder(TFileKind::Definition, AppState.ProgramFolders.NewDefinitionFolder);
    const QString name = ChooseSaveName(this, QDir(folder).filePath(RandomFileName));
    if (name.isEmpty()) return;
    try {
        Generator.SaveToFile(QFile::encodeName(name).toStdString());
    } catch (const std::exception& error) {
        Dialogs().Error(error.what());
    }
}

void TRandom1::EditBtnClick()
{
    if (AppState.Workspace) AppState.Workspace->OpenEditorWithText(Memo1->toPlainText());
}

void TRandom1::Button1Click() { CloseGeneratorWindow(*this); }

void TRandom1::LockCheckBoxClick(TRandomLock lock) { LockEdits[lock]->setEnabled(LockBoxes[lock]->isChecked()); }

void TRandom1::IterationsCheckBoxClick() { LockCheckBoxClick(rlIterations); }
void TRandom1::AngleCheckBoxClick() { LockCheckBoxClick(rlAngle); }
void TRandom1::ThicknessCheckBoxClick() { LockCheckBoxClick(rlThickness); }
void TRandom1::RulesCheckBoxClick() { LockCheckBoxClick(rlRules); }
void TRandom1::AxiomCheckBoxClick() { LockCheckBoxClick(rlAxiom); }

void TRandom1::EditExit(TRandomLock lock)
{
    Generator.Locks[lock].Text = EngineText(LockEdits[lock]->text());
    const std::optional<std::string> message = Generator.CheckEdit(lock);
    if (!message) return;
    Dialogs().Message(*message);
    ShowLock(lock);
}

void TRandom1::IterationsEditExit() { EditExit(rlIterations); }
void TRandom1::AngleEditExit() { EditExit(rlAngle); }
void TRandom1::ThicknessEditExit() { EditExit(rlThickness); }
void TRandom1::RulesEditExit() { EditExit(rlRules); }

bool TRandom1::eventFilter(QObject* Watched, QEvent* Event)
{
    // Leaving an edit for another control of this window checks it; a message
    // box, another window or closing takes the focus away without a check.
    if (Event->type() == QEvent::FocusOut) {
        QWidget* next = QApplication::focusWidget();
        if (next && next != Watched && isAncestorOf(next)) {
            if (Watched == IterationsEdit) IterationsEditExit();
            else if (Watched == AngleEdit) AngleEditExit();
            else if (Watched == ThicknessEdit) ThicknessEditExit();
            else if (Watched == RulesEdit) RulesEditExit();
        }
    }
    return QWidget::eventFilter(Watched, Event);
}

void TRandom1::closeEvent(QCloseEvent* Event)
{
    // Go waits while processing events; the window stays until it is done.
    if (Busy) {
        Event->ignore();
        return;
    }
    Event->accept();
}

} // namespace verdel
