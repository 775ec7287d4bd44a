#include "gui/viewer/viewer_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTime>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>

#include "app/program_folders.h"
#include "formats/dxf_reader.h"
#include "gui/shared/app_state.h"
#include "gui/shared/clock_text.h"
#include "gui/shared/elided_label.h"
#include "gui/shared/workspace.h"
#include "gui/viewer/arrow_glyphs.h"
#include "gui/viewer/frame_pipeline.h"
#include "gui/viewer/growth_bar.h"
#include "gui/viewer/picture_widget.h"
#include "gui/viewer/texture_dialog.h"

namespace verdel {

namespace {

QLabel* MakeLabel(const char* name, const QString& text, QWidget* parent, bool underlined = false, bool bold = false)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setUnderline(underlined);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

// Where each navigation button sits in its 3 x 3 cross, its arrow, and what its tooltip says.
struct TNavigationButton {
    const char* Name;
    int Row, Column;
    TArrow Arrow;
    const char* Tip;
};
constexpr TNavigationButton NavigationLayout[12] = {
    {"MoveUp_AB", 0, 1, TArrow::Up, "Move the model up (Shift+Up, or drag with the right mouse button)"},
    {"MoveDown_AB", 2, 1, TArrow::Down, "Move the model down (Shift+Down, or drag with the right mouse button)"},
    {"MoveLeft_AB", 1, 0, TArrow::Left, "Move the model left (Shift+Left, or drag with the right mouse button)"},
    {"MoveRight_AB", 1, 2, TArrow::Right, "Move the model right (Shift+Right, or drag with the right mouse button)"},
    {"MoveForward_BB", 2, 0, TArrow::DownLeft, "Move the model nearer (Page Up, or turn the mouse wheel forward)"},
    {"MoveBack_BT", 0, 2, TArrow::UpRight, "Move the model farther away (Page Down, or turn the mouse wheel back)"},
    {"Down_AB", 2, 1, TArrow::Down, "Turn the model's front down (Down, or drag down with the left mouse button)"},
    {"Up_AB", 0, 1, TArrow::Up, "Turn the model's front up (Up, or drag up with the left mouse button)"},
    {"Left_AB", 1, 0, TArrow::Left, "Turn the model's front left (Left, or drag left with the left mouse button)"},
    {"Right_AB", 1, 2, TArrow::Right, "Turn the model's front right (Right, or drag right with the left mouse button)"},
    {"RollUp_BT", 0, 2, TArrow::UpRight, "Roll the model clockwise (the > key)"},
    {"RollDown_BT", 2, 0, TArrow::DownLeft, "Roll the model anticlockwise (the < key)"},
};

// What the rotation buttons' tooltips add.
const char* const CtrlTip = "\nWith Ctrl held, the first step turns by 45 degrees.";

} // namespace

TViewForm::TViewForm(QWidget* Parent)
        : QDialog(Parent,
                  Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
          Navigator(*Model.Store, *OutlineStore, *this), Pointer(Navigator, TGMP::FocalLength)
{
    setObjectName("ViewForm");
    setWindowTitle("Viewer");
    setMinimumSize(570, 460);
    resize(535, 483);
    QFont font = this->font();
    font.setPixelSize(11);
    setFont(font);

    GMP1 = new TGMPWidget;
    GMP1->Resized = [this](QSize From, QSize To) {
        if (Model.Store->ObjectCount > 0)
            Navigator.KeepSizeInPicture(From.width(), From.height(), To.width(), To.height());
    };
    auto* centre = new QWidget;
    centre->setObjectName("Panel3");
    auto* centreLayout = new QVBoxLayout(centre);
    centreLayout->setContentsMargins(0, 0, 0, 0);
    centreLayout->addWidget(GMP1);
    centreLayout->addWidget(GrowthBar = new TGrowthBar(*Model.Store));
    GrowthBar->Redraw = [this] { ViewerMovement(*Model.Store, false); };
    GrowthBar->Retire = [this](std::unique_ptr<TFaceStore> Old) { Retire(std::move(Old)); };
    centre->setStyleSheet("#Panel3 { background: black; }");

    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    body->addWidget(CreateLeftPanel());
    body->addWidget(centre, 1);
    body->addWidget(CreateRightPanel());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    CreateMenu();
    layout->setMenuBar(MainMenu2);
    layout->addLayout(body, 1);
    CreateStatusBar();

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TViewForm::Timer1Timer);
    SpinTimer = new QTimer(this);
    SpinTimer->setObjectName("SpinTimer");
    SpinTimer->setInterval(75);
    connect(SpinTimer, &QTimer::timeout, this, &TViewForm::SpinTimerTimer);
    PaintTimer = new QTimer(this);
    PaintTimer->setSingleShot(true);
    PaintTimer->setInterval(200);
    connect(PaintTimer, &QTimer::timeout, this, [this] { ViewerMovement(*Model.Store, true); });
    connect(GMP1, &TGMPWidget::Repainted, this, &TViewForm::FormPaint);
    Frames = new TFramePipeline(GMP1->Settings, this);
    Frames->LoadTextures = [](TGMP& Gmp) {
        for (int layer = 1; layer <= 12; ++layer)
            Gmp.SetLayerTexture(layer, AppState.LayerBitmaps[static_cast<size_t>(layer)]);
    };
    TextureDialog = new TTextureDialog(this);
    connect(Frames, &TFramePipeline::FrameReady, this, &TViewForm::FrameShown);
    ConnectPointer();

    // FormCreate: empty statistics, the frame's bounds, the proxy and the layer pictures.
    ObCountLabel->clear();
    PSCountLabel->clear();
    if (AppState.Workspace) setGeometry(AppState.Workspace->FrameGeometry());
    const std::string outline = AppState.ProgramFolders.DataFolder + "outline.dxf";
    try {
        ReadDXFFile(*OutlineStore, outline);
    } catch (const std::exception&) {
        // Navigation then draws a box of its own.
        StatusPanels[0]->setText("No outline.dxf: plain navigation box");
    }
    SetBitmapButtons();

    // Navigation keys act wherever the focus is; the picture takes it first.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        if (!child->inherits("QMenuBar") && !child->inherits("QMenu")) child->installEventFilter(this);
    GMP1->setFocus();
}

TViewForm::~TViewForm()
{
    // The frame being drawn may read the store Read DXF retired.
    Frames->Stop();
}

QWidget* TViewForm::CreateLeftPanel()
{
    auto* panel = new QWidget;
    panel->setObjectName("Panel1");
    panel->setFixedWidth(95);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(6, 6, 4, 4);
    layout->setSpacing(2);
    layout->addWidget(MakeLabel("Label1", "Total Objects:", panel, true));
    layout->addWidget(ObCountLabel = MakeLabel("ObCountLabel", "", panel));
    layout->addSpacing(6);
    QLabel* label2 = MakeLabel("Label2", "Production Length:", panel, true);
    label2->setWordWrap(true);
    layout->addWidget(label2);
    layout->addWidget(PSCountLabel = MakeLabel("PSCountLabel", "", panel));
    layout->addStretch();

    auto* panel4 = new QWidget(panel);
    panel4->setObjectName("Panel4");
    panel4->setFixedHeight(40);
    Render_BT = new QPushButton("Render", panel4);
    Render_BT->setObjectName("Render_BT");
    Render_BT->setGeometry(4, 6, 75, 28);
    connect(Render_BT, &QPushButton::clicked, this, &TViewForm::Render_BTClick);
    layout->addWidget(panel4);
    layout->addWidget(CreateNavigationPanel("Panel7", "Rotation", dirTurnDown));
    layout->addWidget(CreateNavigationPanel("Panel8", "Movement", dirMoveUp));
    return panel;
}

QWidget* TViewForm::CreateNavigationPanel(const char* name, const QString& caption, int firstDirection)
{
    auto* panel = new QWidget;
    panel->setObjectName(name);
    panel->setFixedHeight(109);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(
        MakeLabel(firstDirection == dirMoveUp ? "Lab_Movement" : "Lab_Rotation", caption, panel, true, true), 0,
        Qt::AlignHCenter);
    auto* cross = new QGridLayout;
    cross->setSpacing(1);
    for (int direction = firstDirection; direction < firstDirection + 6; ++direction) {
        const TNavigationButton& place = NavigationLayout[direction];
        auto* button = new QToolButton(panel);
        button->setObjectName(place.Name);
        button->setIcon(ArrowIcon(place.Arrow));
        button->setFixedSize(place.Column == 1 ? 25 : 27, 25);
        button->setToolTip(QString(place.Tip) + (direction >= dirTurnDown ? CtrlTip : ""));
        button->setFocusPolicy(Qt::NoFocus);
        const auto d = static_cast<TDirection>(direction);
        // Each button acts on press and stops on release.
        connect(button, &QToolButton::pressed, this, [this, d] {
            Navigator.ButtonDown(d, QApplication::keyboardModifiers().testFlag(Qt::ControlModifier));
        });
        connect(button, &QToolButton::released, this, [this] { Navigator.ButtonUp(); });
        cross->addWidget(button, place.Row, place.Column);
        NavigationButtons[static_cast<size_t>(direction)] = button;
    }
    layout->addLayout(cross);
    return panel;
}

QWidget* TViewForm::CreateRightPanel()
{
    auto* panel = new QWidget;
    panel->setObjectName("Panel2");
    panel->setFixedWidth(95);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(6, 6, 2, 4);
    CloseButton = new QPushButton("Close", panel);
    CloseButton->setObjectName("CloseButton");
    CloseButton->setFixedSize(75, 41);
    connect(CloseButton, &QPushButton::clicked, this, &TViewForm::CloseButtonClick);
    layout->addWidget(CloseButton);
    layout->addStretch();

    auto* panel6 = new QWidget(panel);
    panel6->setObjectName("Panel6");
    panel6->setFixedHeight(72);
    auto* modes = new QVBoxLayout(panel6);
    modes->setContentsMargins(0, 0, 0, 0);
    QFont small = panel6->font();
    small.setPixelSize(9);
    auto radio = [&](const char* name, const QString& caption, void (TViewForm::*handler)()) {
        auto* button = new QRadioButton(caption, panel6);
        button->setObjectName(name);
        button->setFont(small);
        connect(button, &QRadioButton::clicked, this, handler);
        modes->addWidget(button);
        return button;
    };
    WireFrame_RB = radio("WireFrame_RB", "WireFrame", &TViewForm::WireFrame_RBClick);
    SolidShade_RB = radio("SolidShade_RB", "Solid Shaded", &TViewForm::SolidShade_RBClick);
    ShadedTexture_RB = radio("ShadedTexture_RB", "Shade Texture", &TViewForm::ShadedTexture_RBClick);
    // A new viewer opens in the mode chosen last, in this run or the one before.
    const auto mode = static_cast<TRenderMode>(AppState.Settings.Layout.RenderMode);
    GMP1->Settings.Mode = SelectedRenderMode = mode;
    (mode == rmSolidShade ? SolidShade_RB : mode == rmShadedTexture ? ShadedTexture_RB : WireFrame_RB)->setChecked(true);
    layout->addWidget(panel6);

    auto* panel9 = new QWidget(panel);
    panel9->setObjectName("Panel9");
    panel9->setFixedHeight(274);
    auto* rows = new QVBoxLayout(panel9);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(2);
    QLabel* heading = MakeLabel("Label8", "Layer Textures", panel9, false, true);
    QFont headingFont = heading->font();
    headingFont.setPixelSize(10); // the bold heading fits the 95-pixel panel
    heading->setFont(headingFont);
    rows->addWidget(heading);
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(0);
    grid->setHorizontalSpacing(4);
    grid->setColumnMinimumWidth(0, 16);
    rows->addLayout(grid);
    for (int layer = 1; layer <= 12; ++layer) {
        const QString number = QString::number(layer);
        const QByteArray labelName = QString("Label%1").arg(layer + 8).toLatin1();
        grid->addWidget(MakeLabel(labelName.constData(), number, panel9), layer, 0, Qt::AlignRight);
        auto* button = new QToolButton(panel9);
        const QString name = QString("BB%1").arg(layer, 2, 10, QChar('0'));
        button->setObjectName(name);
        button->setText(name);
        button->setFixedSize(50, 18);
        button->setIconSize(QSize(12, 12));
        button->setStyleSheet("QToolButton { padding: 0px 1px; }");
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        QFont font = button->font();
        font.setPixelSize(9);
        button->setFont(font);
        connect(button, &QToolButton::clicked, this, [this, layer] { LayerButtonClick(layer); });
        grid->addWidget(button, layer, 1);
        LayerButtons[static_cast<size_t>(layer - 1)] = button;
    }
    BitBtn2 = new QPushButton("Color", panel9);
    BitBtn2->setObjectName("BitBtn2");
    connect(BitBtn2, &QPushButton::clicked, this, &TViewForm::BitBtn2Click);
    grid->addWidget(BitBtn2, 13, 0, 1, 2);
    rows->addStretch();
    layout->addWidget(panel9);
    return panel;
}

void TViewForm::CreateMenu()
{
    MainMenu2 = new QMenuBar(this);
    MainMenu2->setObjectName("MainMenu2");
    QMenu* file = MainMenu2->addMenu("&File");
    file->setObjectName("File1");
    auto item = [&](const char* name, const QString& caption, void (TViewForm::*handler)()) {
        QAction* action = file->addAction(caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, handler);
    };
    item("SaveGraphicAs", "&Save As...", &TViewForm::SaveGraphicAsClick);
    file->addSeparator();
    item("ReadDXF", "&Read Model", &TViewForm::ReadDXFClick);
    file->addSeparator();
    item("CloseViewer", "&Close", &TViewForm::CloseButtonClick);

    // The keys are the picture's own (NavigationKey); the menu names them.
    QMenu* view = MainMenu2->addMenu("&View");
    view->setObjectName("View1");
    const auto key = [&](const char* name, const QString& caption, TNavigationKey navigation) {
        QAction* action = view->addAction(caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, [this, navigation] {
            Pointer.KeyDown(navigation, false, false, false, GMP1->Settings.Width, GMP1->Settings.Height);
        });
    };
    key("UprightItem", "&Upright\tU", TNavigationKey::Upright);
    key("FitItem", "&Fit\tF", TNavigationKey::Fit);
    key("HomeItem", "&Home\tHome", TNavigationKey::Home);
}

void TViewForm::CreateStatusBar()
{
    auto* bar = new QStatusBar(this);
    bar->setObjectName("StatusBar");
    bar->setSizeGripEnabled(false);
    const int widths[3] = {300, 70, 50};
    for (int i = 0; i < 3; ++i) {
        StatusPanels[i] = new QLabel(bar);
        StatusPanels[i]->setObjectName(QString("StatusPanel%1").arg(i));
        StatusPanels[i]->setFixedWidth(widths[i]);
        StatusPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addWidget(StatusPanels[i]);
    }
    StatusPanels[1]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    NotePanel = new QLabel(bar);
    NotePanel->setObjectName("NotePanel");
    bar->addWidget(NotePanel, 1);
    WarningPanel = new TElidedLabel(bar);
    WarningPanel->setObjectName("WarningPanel");
    WarningPanel->setTextFormat(Qt::PlainText);
    WarningPanel->setStyleSheet("QLabel { color: #9a6700; }");
    bar->addWidget(WarningPanel, 2);
    layout()->addWidget(bar);

    ClockTimer = new QTimer(this);
    ClockTimer->setObjectName("ClockTimer");
    ClockTimer->setInterval(1000);
    connect(ClockTimer, &QTimer::timeout, this, &TViewForm::ClockTimerTimer);
    ClockTimer->start();
}

void TViewForm::ClockTimerTimer() { StatusPanels[1]->setText(LongTimeText(QTime::currentTime())); }

void TViewForm::changeEvent(QEvent* Event)
{
    QDialog::changeEvent(Event);
    // Every activation prepares the view again (also the return from a dialog).
    // The texture chooser is the exception: the view stays as it was; docked,
    // the view always stays as the user left it.
    if (Event->type() != QEvent::ActivationChange || Docked()) return;
    if (!isActiveWindow()) {
        LeftForChooser = TextureDialog->isVisible();
        return;
    }
    if (isVisible() && !std::exchange(LeftForChooser, false)) PerformStartupRoutines();
}

void TViewForm::done(int Result)
{
    if (Docked()) {
        // The dock hides; the model and its view stay for when it comes back.
        Navigator.Reset();
        CloseDock();
        return;
    }
    QDialog::done(Result);
    FormClose();
}

void TViewForm::FormClose()
{
    Navigator.Reset();
    PaintTimer->stop();
    GrowthBar->Detach();
    // The one wait of the window: the frame being drawn reads the store about to be freed.
    Frames->Stop();
    EndWaitCursor();
    RetiredStores.clear();
    ClearModel(Model);
    GMP1->ClearFrame();
    GMP1->SetNote({});
}

void TViewForm::CloseButtonClick() { close(); }

} // namespace verdel
