#include "gui/glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace verdel {

namespace {

constexpr int Size = 20;

QPixmap Blank(int size = Size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void Page(QPainter& p, QRectF r)
{
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 4, r.top());
    path.lineTo(r.right(), r.top() + 4);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(Qt::white);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - 4, r.top()), QPointF(r.right() - 4, r.top() + 4));
    p.drawLine(QPointF(r.right() - 4, r.top() + 4), QPointF(r.right(), r.top() + 4));
}

void Lines(QPainter& p, QRectF r)
{
    p.setPen(QPen(QColor(70, 110, 170), 1));
    for (qreal y = r.top() + 6; y < r.bottom() - 1; y += 3)
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

void DrawGlyph(QPainter& p, TGlyph glyph)
{
    switch (glyph) {
    case TGlyph::New: Page(p, QRectF(4.5, 2.5, 11, 15)); break;
    case TGlyph::Open:
        p.setPen(QPen(QColor(120, 85, 20), 1));
        p.setBrush(QColor(236, 196, 90));
        p.drawRect(QRectF(2.5, 5.5, 14, 11));
        p.setBrush(QColor(250, 220, 120));
        p.drawPolygon(QPolygonF({QPointF(5.5, 9.5), QPointF(18.5, 9.5), QPointF(15.5, 16.5), QPointF(2.5, 16.5)}));
        break;
    case TGlyph::Save:
        p.setPen(QPen(QColor(30, 40, 90), 1));
        p.setBrush(QColor(60, 90, 170));
        p.drawRect(QRectF(3.5, 3.5, 13, 13));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 3.5, 7, 5));
        p.setBrush(QColor(200, 200, 210));
        p.drawRect(QRectF(6.5, 11.5, 7, 5));
        break;
    case TGlyph::Cut:
        p.setPen(QPen(QColor(40, 40, 40), 1.4));
        p.drawLine(QPointF(6, 3), QPointF(12.5, 13));
        p.drawLine(QPointF(14, 3), QPointF(7.5, 13));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(180, 30, 30), 1.6));
        p.drawEllipse(QPointF(6.5, 15), 2.5, 2.5);
        p.drawEllipse(QPointF(13.5, 15), 2.5, 2.5);
        break;
    case TGlyph::Copy:
        Page(p, QRectF(2.5, 2.5, 9, 12));
        Page(p, QRectF(8.5, 6.5, 9, 12));
        Lines(p, QRectF(8.5, 6.5, 9, 12));
        break;
    case TGlyph::Paste:
        p.setPen(QPen(QColor(90, 60, 20), 1));
        p.setBrush(QColor(190, 140, 70));
        p.drawRoundedRect(QRectF(3.5, 3.5, 12, 14), 1.5, 1.5);
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(7.5, 2.5, 4, 3));
        Page(p, QRectF(8.5, 8.5, 9, 10));
        break;
    case TGlyph::Random: {
        p.setPen(QPen(QColor(40, 40, 40), 1));
        p.setBrush(QColor(250, 250, 245));
        p.drawRoundedRect(QRectF(3.5, 3.5, 13, 13), 2.5, 2.5);
        p.setBrush(QColor(170, 20, 20));
        p.setPen(Qt::NoPen);
        for (const QPointF pip : {QPointF(7, 7), QPointF(10, 10), QPointF(13, 13), QPointF(13, 7), QPointF(7, 13)})
            p.drawEllipse(pip, 1.3, 1.3);
        break;
    }
    case TGlyph::Mutate: {
        // A forking twig with a red bud: a definition that branches anew.
        p.setPen(QPen(QColor(90, 60, 30), 1.6));
        p.drawLine(QPointF(10, 18), QPointF(10, 10));
        p.drawLine(QPointF(10, 10), QPointF(5, 4));
        p.drawLine(QPointF(10, 12), QPointF(15, 6));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 150, 50));
        p.drawEllipse(QPointF(5, 4), 2.4, 2.4);
        p.setBrush(QColor(210, 40, 40));
        p.drawEllipse(QPointF(15, 6), 2.6, 2.6);
        break;
    }
    case TGlyph::Exit:
        p.setPen(QPen(QColor(80, 50, 20), 1));
        p.setBrush(QColor(160, 110, 60));
        p.drawRect(QRectF(3.5, 2.5, 9, 15));
        p.setPen(QPen(QColor(170, 20, 20), 2));
        p.drawLine(QPointF(9, 10), QPointF(18, 10));
        p.drawLine(QPointF(15, 7), QPointF(18, 10));
        p.drawLine(QPointF(15, 13), QPointF(18, 10));
        break;
    }
}

} // namespace

QIcon SpeedButtonIcon(TGlyph Glyph)
{
    QPixmap pixmap = Blank();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawGlyph(painter, Glyph);
    painter.end();
    return QIcon(pixmap);
}

} // namespace verdel
