#include "gui/gmp_widget.h"

#include <QImage>
#include <QPainter>

namespace verdel {

TGMPWidget::TGMPWidget(QWidget* Parent) : QWidget(Parent), Renderer(std::make_unique<TGMP>())
{
    setObjectName("GMP1");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMaximumHeight(TGMP::MaxHeight);
    Renderer->Presenter = [this](const TDIB16bit&) {
        Presenting = true;
        repaint();
        Presenting = false;
    };
}

void TGMPWidget::paintEvent(QPaintEvent*)
{
    TGMP& gmp = *Renderer;
    const bool ownRepaint = !Presenting;
    if (ownRepaint) {
        // The control's own repaint: the background, and the owner's drawing over it.
        gmp.ClearToBackColor();
        if (gmp.BeforeFlip) gmp.BeforeFlip(gmp.Canvas());
    }
    const TDIB16bit& frame = gmp.Bitmap();
    QPainter painter(this);
    if (frame.Width() > 0 && frame.Height() > 0) {
        const QImage image(frame.Bits(), frame.Width(), frame.Height(), frame.Stride(), QImage::Format_RGB555);
        painter.drawImage(0, 0, image);
    }
    if (ownRepaint) emit Repainted();
}

void TGMPWidget::resizeEvent(QResizeEvent* Event)
{
    QWidget::resizeEvent(Event);
    // The picture is lost; the owner renders again.
    Renderer->Resize(std::max(1, width()), std::clamp(height(), 1, TGMP::MaxHeight));
}

} // namespace verdel
