#include "gui/help_window.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "gui/program_icon.h"

namespace verdel {

namespace {

const QString HelpCaption = QStringLiteral("Verdel Help");

QPushButton* AddButton(QWidget* Parent, QHBoxLayout* Bar, const char* Name, const QString& Caption)
{
    auto* button = new QPushButton(Caption, Parent);
    button->setObjectName(QLatin1String(Name));
    button->setAutoDefault(false);
    Bar->addWidget(button);
    return button;
}

} // namespace

THelpWindow::THelpWindow(const QString& HelpFolder, QWidget* Parent)
        : QWidget(Parent, Qt::Window), Folder(QDir(HelpFolder).absolutePath())
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(HelpCaption);
    setWindowIcon(ProgramIcon());
    resize(760, 580);
    // Esc closes the window, as it closes the Command Reference.
    auto* closing = new QAction(this);
    closing->setShortcut(Qt::Key_Escape);
    closing->setShortcutContext(Qt::WindowShortcut);
    connect(closing, &QAction::triggered, this, &QWidget::close);
    addAction(closing);

    auto* bar = new QHBoxLayout;
    ContentsBtn = AddButton(this, bar, "ContentsBtn", QStringLiteral("&Contents"));
    BackBtn = AddButton(this, bar, "BackBtn", QStringLiteral("&Back"));
    ForwardBtn = AddButton(this, bar, "ForwardBtn", QStringLiteral("&Forward"));
    bar->addStretch();
    BackBtn->setEnabled(false);
    ForwardBtn->setEnabled(false);

    HelpBrowser = new QTextBrowser(this);
    HelpBrowser->setObjectName(QStringLiteral("HelpBrowser"));
    HelpBrowser->setOpenExternalLinks(true);
    HelpBrowser->setSearchPaths({Folder});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(bar);
    layout->addWidget(HelpBrowser);

    connect(ContentsBtn, &QPushButton::clicked, this, &THelpWindow::ContentsBtnClick);
    connect(BackBtn, &QPushButton::clicked, this, &THelpWindow::BackBtnClick);
    connect(ForwardBtn, &QPushButton::clicked, this, &THelpWindow::ForwardBtnClick);
    connect(HelpBrowser, &QTextBrowser::backwardAvailable, BackBtn, &QPushButton::setEnabled);
    connect(HelpBrowser, &QTextBrowser::forwardAvailable, ForwardBtn, &QPushButton::setEnabled);
    connect(HelpBrowser, &QTextBrowser::sourceChanged, this, &THelpWindow::UpdateCaption);
}

bool THelpWindow::ShowContents()
{
    const bool found = ShowPage(QLatin1String(HelpContentsPage));
    show();
    raise();
    activateWindow();
    return found;
}

bool THelpWindow::ShowPage(const QString& PageName)
{
    const QString path = QDir(Folder).filePath(PageName);
    if (!QFileInfo(path).isFile()) {
        ShowMissingPage(path);
        return false;
    }
    HelpBrowser->setSource(QUrl::fromLocalFile(path));
    return true;
}

void THelpWindow::ContentsBtnClick() { ShowPage(QLatin1String(HelpContentsPage)); }

void THelpWindow::BackBtnClick() { HelpBrowser->backward(); }

void THelpWindow::ForwardBtnClick() { HelpBrowser->forward(); }

void THelpWindow::ShowMissingPage(const QString& Path)
{
    HelpBrowser->setHtml(QStringLiteral("<h2>Help page not found</h2><p>The help page <b>%1</b> is missing. "
                                        "The help pages belong in the folder <b>help</b> beside the "
                                        "program.</p>")
                             .arg(QDir::toNativeSeparators(Path).toHtmlEscaped()));
    setWindowTitle(HelpCaption);
}

void THelpWindow::UpdateCaption()
{
    const QString title = HelpBrowser->documentTitle();
    setWindowTitle(title.isEmpty() ? HelpCaption : HelpCaption + QStringLiteral(" - ") + title);
}

} // namespace verdel
