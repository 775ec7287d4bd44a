#include "gui/helper_form.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QVBoxLayout>

namespace verdel {

namespace {

constexpr int ClientWidth = 380;
constexpr int ClientHeight = 465;
constexpr int MemoFontPixels = 8;
constexpr int TabColumns = 8; // tab stops every eight characters, as in a plain text editor

// "Courier", or the system's fixed-pitch face where no Courier is installed.
QFont ReferenceFont()
{
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(MemoFontPixels);
    if (!QFontInfo(font).fixedPitch()) {
        font.setFamilies(QFontDatabase::systemFont(QFontDatabase::FixedFont).families());
    }
    return font;
}

} // namespace

const QStringList& CommandReferenceLines()
{
    static const QStringList lines = {
        QStringLiteral("Drawing Commands:"),
        QStringLiteral("     F  Draw full unit"),
        QStringLiteral("     Z  Draw half unit"),
        QStringLiteral("Movement Commands:"),
        QStringLiteral("     f  Move full unit"),
        QStringLiteral("     z  Move half unit"),
        QStringLiteral("Orientation Commands:"),
        QStringLiteral("     + \tTurn left"),
        QStringLiteral("     -\tTurn right"),
        QStringLiteral("     &\tPitch down"),
        QStringLiteral("     ^\tPitch up"),
        QStringLiteral("     <\tRoll left "),
        QStringLiteral("     >\tRoll right "),
        QStringLiteral("Special Orientation Commands:"),
        QStringLiteral("     | \tTurn 180 deg"),
        QStringLiteral("     %\tRoll 180 deg"),
        QStringLiteral("     $\tRoll until Horizontal"),
        QStringLiteral("     ~\tTurn/Pitch/Roll"),
        QStringLiteral("     t\tPitch down"),
        QStringLiteral("Structure Commands:"),
        QStringLiteral("     [ \tStore current location"),
        QStringLiteral("     ]\tReturn to location"),
        QStringLiteral("     {\tStart polygon shape"),
        QStringLiteral("     }\tEnd polygon shape"),
        QStringLiteral("Increment / Decrement Commands"),
        QStringLiteral("     \" \tIncrement length by 1.1"),
        QStringLiteral("     '\tDecrement length by 0.9"),
        QStringLiteral("     ;\tIncrement angle by 1.1"),
        QStringLiteral("     :\tDecrement angle by 0.9"),
        QStringLiteral("     ?\tMultiply thickness by 1.4"),
        QStringLiteral("     !\tMultiply thickness by 0.7"),
        QStringLiteral("Additional Commands"),
        QStringLiteral("     c \tIncrement color index"),
        QStringLiteral("     c(x)\tSet color index to x"),
        QStringLiteral("     @\tEnd of file"),
        QStringLiteral("     #\tComment"),
    };
    return lines;
}

THelperForm::THelperForm(QWidget* Parent)
        : QWidget(Parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("HelperForm"));
    setFixedSize(ClientWidth, ClientHeight);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setFont(ReferenceFont());
    Memo1->setTabStopDistance(QFontMetricsF(Memo1->font()).horizontalAdvance(QLatin1Char(' ')) * TabColumns);
    Memo1->setPlainText(CommandReferenceLines().join(QLatin1Char('\n')));
    Memo1->viewport()->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Memo1);
}

void THelperForm::FormMouseUp(QMouseEvent* /*Event*/) { hide(); }

void THelperForm::Memo1MouseUp(QMouseEvent* /*Event*/) { hide(); }

void THelperForm::mouseReleaseEvent(QMouseEvent* Event) { FormMouseUp(Event); }

// A borderless window has no close box: Esc closes it too.
void THelperForm::keyPressEvent(QKeyEvent* Event)
{
    if (Event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QWidget::keyPressEvent(Event);
}

// Opens over the middle of the main window, or of the screen without one.
void THelperForm::showEvent(QShowEvent* Event)
{
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QRect area = owner && owner->isVisible() ? owner->frameGeometry() : screen()->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
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
