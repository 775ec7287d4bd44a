#include "gui/viewer/arrow_glyphs.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
#include <QTransform>

namespace verdel {

namespace {

// An arrow pointing up in a 16 x 16 square, turned by Degrees about its centre.
QPolygonF ArrowShape(qreal degrees)
{
    const QPolygonF up({{8, 1.5}, {14.5, 8}, {10.5, 8}, {10.5, 14.5}, {5.5, 14.5}, {5.5, 8}, {1.5, 8}});
    QTransform turn;
    turn.translate(8, 8);
    turn.rotate(degrees);
    turn.translate(-8, -8);
    return turn.map(up);
}

QPixmap Draw(const QPolygonF& shape, const QColor& fill, const QColor& outline)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(outline, 1));
    painter.setBrush(fill);
    painter.drawPolygon(shape);
    return pixmap;
}

} // namespace

QIcon ArrowIcon(TArrow Arrow)
{
    static const qreal degrees[] = {0, 180, 270, 90, 45, 225};
    const QPolygonF shape = ArrowShape(degrees[static_cast<int>(Arrow)]);
    QIcon icon;
    icon.addPixmap(Draw(shape, QColor(220, 20, 20), Qt::black), QIcon::Normal);
    icon.addPixmap(Draw(shape, Qt::transparent, QColor(150, 150, 150)), QIcon::Disabled);
    return icon;
}

} // namespace verdel
