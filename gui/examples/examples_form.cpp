#include "gui/examples/examples_form.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <thread>

#include "gui/shared/image_conversions.h"
#include "render/worker_pool.h"

namespace verdel {

namespace {

constexpr int TileSpacing = 12;

// The picture a tile shows until its thumbnail is drawn.
QPixmap Placeholder(const QSize& size, const QString& text)
{
    QPixmap pixmap(size);
    pixmap.fill(QColor(40, 40, 40));
    QPainter painter(&pixmap);
    painter.setPen(QColor(170, 170, 170));
    painter.drawText(pixmap.rect().adjusted(12, 0, -12, 0), Qt::AlignCenter | Qt::TextWordWrap, text);
    return pixmap;
}

QLabel* Heading(const QString& text, qreal scale, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * scale);
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

TExamplesForm::TExamplesForm(const std::string& Folder, const TThumbnailLook& Look, QWidget* Parent)
        : QWidget(Parent)
{
    setObjectName("ExamplesForm");
    setWindowTitle("Examples");
    auto* page = new QWidget;
    page->setObjectName("ExamplesPage");
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(20, 16, 20, 20);
    column->setSpacing(10);

    WelcomeBox = new QFrame(page);
    WelcomeBox->setObjectName("WelcomeBox");
    auto* welcome = new QVBoxLayout(WelcomeBox);
    welcome->setContentsMargins(0, 0, 0, 8);
    welcome->addWidget(Heading("Welcome to Verdel", 1.6, WelcomeBox));
    WelcomeLabel = new QLabel(
        "Verdel grows plants and other shapes from short definitions. Click an example to open a copy "
        "of it in a new editor and see its model; change the copy and press Generate (F5) to see what "
        "changes. File > New starts an empty definition, and File > Examples brings this page back.",
        WelcomeBox);
    WelcomeLabel->setObjectName("WelcomeLabel");
    WelcomeLabel->setWordWrap(true);
    SettingsNote = new QLabel(WelcomeBox);
    SettingsNote->setObjectName("SettingsNote");
    SettingsNote->setTextFormat(Qt::PlainText);
    SettingsNote->setTextInteractionFlags(Qt::TextSelectableByMouse);
    SettingsNote->setStyleSheet("QLabel { background: palette(alternate-base); border: 1px solid palette(mid);"
                                " border-radius: 4px; padding: 8px; }");
    welcome->addWidget(WelcomeLabel);
    welcome->addWidget(SettingsNote);
    WelcomeBox->hide();
    column->addWidget(WelcomeBox);

    const std::vector<TExampleGroup> groups = ListExamples(Folder);
    std::vector<std::string> files;
    for (const TExampleGroup& group : groups) {
        column->addWidget(CreateGroup(group));
        for (const TExample& example : group.Examples) files.push_back(example.Path);
    }
    if (groups.empty())
        column->addWidget(new QLabel("No examples were found in " + QString::fromStdString(Folder), page));
    column->addStretch(1);

    Scroll = new QScrollArea(this);
    Scroll->setObjectName("ExamplesScroll");
    Scroll->setWidgetResizable(true);
    Scroll->setFrameShape(QFrame::NoFrame);
    Scroll->setWidget(page);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Scroll);
    resize(900, 640);
    ArrangeTiles();

    // The results come on the workers' threads and are shown on this one.
    Jobs = std::make_unique<TThumbnailJobs>(files, Look, TWorkerPool::MachineThreads(), [this](TThumbnailResult r) {
        auto result = std::make_shared<TThumbnailResult>(std::move(r));
        QMetaObject::invokeMethod(this, [this, result] { ThumbnailReady(result); }, Qt::QueuedConnection);
    });
}

TExamplesForm::~TExamplesForm()
{
    Jobs.reset(); // cancels the drawing and waits for the workers
}

QWidget* TExamplesForm::CreateGroup(const TExampleGroup& Group)
{
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 8, 0, 0);
    layout->addWidget(Heading(QString::fromStdString(Group.Title), 1.25, box));
    auto* line = new QFrame(box);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);
    auto* grid = new QGridLayout;
    grid->setSpacing(TileSpacing);
    grid->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addLayout(grid);
    Grids.push_back(grid);
    GroupTiles.emplace_back();
    for (const TExample& example : Group.Examples) {
        const QString file = QString::fromStdString(example.Path);
        auto* tile = new QToolButton(box);
        tile->setObjectName("Example_" + QFileInfo(file).completeBaseName());
        tile->setProperty("file", file);
        tile->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        tile->setAutoRaise(true);
        tile->setCursor(Qt::PointingHandCursor);
        tile->setIconSize(QSize(200, 150));
        tile->setFixedWidth(200 + 2 * TileSpacing);
        tile->setIcon(Placeholder(tile->iconSize(), "Drawing..."));
        tile->setText(QString::fromStdString(example.Title));
        tile->setToolTip(QString::fromStdString(example.Summary) + "\n\n" + QFileInfo(file).fileName());
        connect(tile, &QToolButton::clicked, this, [this, file] { emit ExampleChosen(file); });
        GroupTiles.back().push_back(tile);
        Tiles.push_back(tile);
    }
    return box;
}

void TExamplesForm::ShowWelcome(const QString& Notes, const QString& SettingsFile)
{
    QString note = Notes;
    note.replace("\r\n", "\n");
    if (!note.isEmpty()) note += "\n\n";
    SettingsNote->setText(note + "Settings file: " + SettingsFile);
    WelcomeBox->show();
    setWindowTitle("Welcome");
}

void TExamplesForm::ThumbnailReady(const std::shared_ptr<TThumbnailResult>& Result)
{
    ++Drawn;
    if (Result->Index >= Tiles.size()) return;
    QToolButton* tile = Tiles[Result->Index];
    const TThumbnail& outcome = Result->Outcome;
    if (outcome.Drawn && outcome.ObjectCount == 0)
        // Q, W and R draw only while their settings are on (Options > General).
        tile->setIcon(Placeholder(tile->iconSize(), "Nothing to draw with the current options"));
    else
        tile->setIcon(QPixmap::fromImage(ToQImage(Result->Picture)));
    if (!outcome.Drawn) tile->setToolTip(QString::fromStdString(outcome.Reason));
}

void TExamplesForm::FinishDrawing()
{
    Jobs->Wait();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

QToolButton* TExamplesForm::Tile(const QString& File) const
{
    for (QToolButton* tile : Tiles)
        if (QFileInfo(tile->property("file").toString()) == QFileInfo(File)) return tile;
    return nullptr;
}

void TExamplesForm::resizeEvent(QResizeEvent* Event)
{
    QWidget::resizeEvent(Event);
    ArrangeTiles();
}

void TExamplesForm::ArrangeTiles()
{
    if (Tiles.empty()) return;
    const int tileWidth = Tiles.front()->sizeHint().width() + TileSpacing;
    const int width = Scroll->viewport()->width() - 40 - Scroll->verticalScrollBar()->sizeHint().width();
    const int columns = std::max(1, width / tileWidth);
    if (columns == Columns) return;
    Columns = columns;
    for (size_t g = 0; g < Grids.size(); ++g)
        for (size_t i = 0; i < GroupTiles[g].size(); ++i)
            Grids[g]->addWidget(GroupTiles[g][i], static_cast<int>(i) / columns, static_cast<int>(i) % columns);
}

} // namespace verdel
