#include "gui/shared/elided_label.h"

#include <QPainter>
#include <QStyle>

namespace verdel {

QSize TElidedLabel::minimumSizeHint() const
{
    QSize size = QLabel::minimumSizeHint();
    size.setWidth(0);
    return size;
}

void TElidedLabel::paintEvent(QPaintEvent* Event)
{
    QFrame::paintEvent(Event); // the frame, if any; the text is drawn here
    const QRect room = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, room.width());
    QPainter painter(this);
    style()->drawItemText(&painter, room, static_cast<int>(alignment()), palette(), isEnabled(), shown,
                          foregroundRole());
}

} // namespace verdel
