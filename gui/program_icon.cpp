#include "gui/program_icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace verdel {

namespace {

constexpr double DesignSize = 64;  // the picture is drawn on a 64 x 64 grid and scaled
constexpr double BranchAngle = 25; // degrees between a branch and its parent

const QColor StemColor(52, 110, 38);
const QColor LeafColor(112, 186, 62);
const QColor LeafEdge(58, 122, 40);

void PaintLeaf(QPainter& Painter, QPointF At, double Degrees)
{
    Painter.save();
    Painter.translate(At);
    Painter.rotate(Degrees);
    QPainterPath leaf;
    leaf.moveTo(0, 0);
    leaf.cubicTo(-3.6, -2.2, -2.8, -6.5, 0, -8.2);
    leaf.cubicTo(2.8, -6.5, 3.6, -2.2, 0, 0);
    Painter.setPen(QPen(LeafEdge, 0.7));
    Painter.setBrush(LeafColor);
    Painter.drawPath(leaf);
    Painter.restore();
}

// A branching stem in the manner of a bracketed rewriting rule: each branch
// forks into two shorter, thinner ones and the outermost ones carry leaves.
void PaintBranch(QPainter& Painter, QPointF From, double Degrees, double Length, double Width, int Depth)
{
    const double radians = Degrees * M_PI / 180.0;
    const QPointF to = From + QPointF(std::sin(radians), -std::cos(radians)) * Length;
    Painter.setPen(QPen(StemColor, Width, Qt::SolidLine, Qt::RoundCap));
    Painter.drawLine(From, to);
    if (Depth == 0) {
        PaintLeaf(Painter, to, Degrees);
        return;
    }
    PaintBranch(Painter, to, Degrees - BranchAngle, Length * 0.7, Width * 0.68, Depth - 1);
    PaintBranch(Painter, to, Degrees + BranchAngle, Length * 0.7, Width * 0.68, Depth - 1);
    if (Depth == 1) PaintLeaf(Painter, to, Degrees);
}

void PaintTile(QPainter& Painter)
{
    QLinearGradient sky(0, 0, 0, DesignSize);
    sky.setColorAt(0, QColor(232, 244, 252));
    sky.setColorAt(1, QColor(252, 252, 240));
    Painter.setPen(QPen(QColor(96, 128, 96), 1.5));
    Painter.setBrush(sky);
    Painter.drawRoundedRect(QRectF(1, 1, DesignSize - 2, DesignSize - 2), 10, 10);
}

void PaintPot(QPainter& Painter)
{
    QPolygonF pot;
    pot << QPointF(21, 49) << QPointF(43, 49) << QPointF(40, 60) << QPointF(24, 60);
    Painter.setPen(QPen(QColor(122, 58, 30), 1));
    Painter.setBrush(QColor(196, 98, 52));
    Painter.drawPolygon(pot);
    Painter.setBrush(QColor(214, 118, 68));
    Painter.drawRect(QRectF(19, 46, 26, 4));
}

} // namespace

QPixmap PaintProgramIcon(int Size)
{
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(Size / DesignSize, Size / DesignSize);
    PaintTile(painter);
    PaintBranch(painter, QPointF(32, 47), 0, 12.5, 3.4, 4);
    PaintPot(painter);
    return pixmap;
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) icon.addPixmap(PaintProgramIcon(size));
    return icon;
}

} // namespace verdel
