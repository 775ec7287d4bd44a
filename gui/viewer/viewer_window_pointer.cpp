// The viewer's mouse and keys: drags, the wheel and the navigation keys.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include "gui/viewer/picture_widget.h"
#include "gui/viewer/viewer_window.h"

namespace verdel {

namespace {

// The navigation key a Qt key stands for.
std::optional<TNavigationKey> NavigationKeyOf(int key)
{
    switch (key) {
    case Qt::Key_Left: return TNavigationKey::Left;
    case Qt::Key_Right: return TNavigationKey::Right;
    case Qt::Key_Up: return TNavigationKey::Up;
    case Qt::Key_Down: return TNavigationKey::Down;
    case Qt::Key_PageUp: return TNavigationKey::PageUp;
    case Qt::Key_PageDown: return TNavigationKey::PageDown;
    case Qt::Key_Home: return TNavigationKey::Home;
    case Qt::Key_F: return TNavigationKey::Fit;
    case Qt::Key_U: return TNavigationKey::Upright;
    case Qt::Key_Less:
    case Qt::Key_Comma: return TNavigationKey::RollLeft;
    case Qt::Key_Greater:
    case Qt::Key_Period: return TNavigationKey::RollRight;
    default: return std::nullopt;
    }
}

TDrag DragOf(Qt::MouseButton button)
{
    if (button == Qt::LeftButton) return TDrag::Turn;
    if (button == Qt::RightButton || button == Qt::MiddleButton) return TDrag::Move;
    return TDrag::None;
}

} // namespace

void TViewForm::ConnectPointer()
{
    GMP1->setToolTip("Drag with the left mouse button to turn the model, with the right or middle button to move "
                     "it; the wheel moves it nearer and farther.\nArrow keys turn, Shift+arrows move, Page Up and "
                     "Page Down move nearer and farther, < and > roll,\nHome returns to the first view, F fits the "
                     "model to the window, U stands it upright.");
    connect(GMP1, &TGMPWidget::MouseDown, this, [this](QMouseEvent* Event) {
        if (Pointer.Dragging() != TDrag::None) return;
        const TDrag drag = DragOf(Event->button());
        if (drag == TDrag::None) return;
        GMP1->setFocus();
        GMP1->setCursor(drag == TDrag::Turn ? Qt::ClosedHandCursor : Qt::SizeAllCursor);
        Pointer.Press(drag, Event->position().toPoint().x(), Event->position().toPoint().y());
    });
    connect(GMP1, &TGMPWidget::MouseMove, this, [this](QMouseEvent* Event) {
        Pointer.Move(Event->position().toPoint().x(), Event->position().toPoint().y());
    });
    connect(GMP1, &TGMPWidget::MouseUp, this, [this](QMouseEvent* Event) {
        if (Pointer.Dragging() == TDrag::None || Event->buttons() != Qt::NoButton) return;
        Pointer.Release();
        GMP1->unsetCursor();
    });
    connect(GMP1, &TGMPWidget::WheelTurned, this,
            [this](QWheelEvent* Event) { Pointer.Wheel(Event->angleDelta().y()); });
}

bool TViewForm::eventFilter(QObject* Watched, QEvent* Event)
{
    const QEvent::Type type = Event->type();
    if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && isVisible() &&
        NavigationKey(static_cast<QKeyEvent*>(Event), type == QEvent::KeyPress))
        return true;
    return QDialog::eventFilter(Watched, Event);
}

bool TViewForm::NavigationKey(QKeyEvent* Event, bool Down)
{
    const Qt::KeyboardModifiers modifiers = Event->modifiers();
    // Alt goes to the menu bar (Alt+F opens File).
    if (modifiers.testFlag(Qt::AltModifier)) return false;
    const std::optional<TNavigationKey> key = NavigationKeyOf(Event->key());
    if (!key) return false;
    if (!Down) return Pointer.KeyUp(*key, Event->isAutoRepeat());
    const TFrameSettings& picture = GMP1->Settings;
    return Pointer.KeyDown(*key, modifiers.testFlag(Qt::ShiftModifier), modifiers.testFlag(Qt::ControlModifier),
                           Event->isAutoRepeat(), picture.Width, picture.Height);
}

} // namespace verdel
