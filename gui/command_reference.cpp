#include "gui/command_reference.h"

#include <QApplication>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "engine/command_table.h"

namespace verdel {

namespace {

constexpr int InitialWidth = 640;
constexpr int InitialHeight = 600;

} // namespace

QString CommandReferenceHtml()
{
    const QPalette colours = QApplication::palette();
    const QString heading = colours.color(QPalette::AlternateBase).name();
    const QString fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    const QString style = QString("th { background-color: %1; text-align: left; padding: 3px 6px; }"
                                  "th.family { padding-top: 8px; }"
                                  "td { padding: 2px 6px; }"
                                  "tt { font-family: '%2'; font-weight: bold; }")
                              .arg(heading, fixed);
    return "<html><head><style>" + style + "</style></head><body>" + "<table width=\"100%\" cellspacing=\"0\">" +
           QString::fromStdString(CommandTableHtml()) +
           "</table><p>Click the list or press Esc to close it.</p></body></html>";
}

THelperForm::THelperForm(QWidget* Parent) : QWidget(Parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("HelperForm"));
    setWindowTitle(QStringLiteral("Command Reference"));
    setMinimumSize(320, 240);
    resize(InitialWidth, InitialHeight);

    Memo1 = new QTextBrowser(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setOpenLinks(false);
    Memo1->setHtml(CommandReferenceHtml());
    Memo1->viewport()->installEventFilter(this);
    Memo1->viewport()->setCursor(Qt::PointingHandCursor);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Memo1);
}

void THelperForm::FormMouseUp(QMouseEvent* /*Event*/) { hide(); }

void THelperForm::Memo1MouseUp(QMouseEvent* /*Event*/) { hide(); }

void THelperForm::mouseReleaseEvent(QMouseEvent* Event) { FormMouseUp(Event); }

void THelperForm::keyPressEvent(QKeyEvent* Event)
{
    if (Event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QWidget::keyPressEvent(Event);
}

// Opens over the middle of the main window, or of the screen without one, the first time.
void THelperForm::showEvent(QShowEvent* Event)
{
    if (!Placed) {
        const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
        const QRect area = owner && owner->isVisible() ? owner->frameGeometry() : screen()->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
        Placed = true;
    }
    QWidget::showEvent(Event);
}

bool THelperForm::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == Memo1->viewport() && Event->type() == QEvent::MouseButtonRelease) {
        Memo1MouseUp(static_cast<QMouseEvent*>(Event));
        return true;
    }
    return QWidget::eventFilter(Watched, Event);
}

} // namespace verdel
