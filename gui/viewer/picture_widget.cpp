#include "gui/viewer/picture_widget.h"

#include <QImage>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "render/render_math.h"

namespace verdel {

namespace {

QColor ToQColor(TColor color) { return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

} // namespace

TGMPWidget::TGMPWidget(QWidget* Parent) : QWidget(Parent)
{
    setObjectName("GMP1");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMaximumHeight(TGMP::MaxHeight);
    setFocusPolicy(Qt::StrongFocus);
    ClearFrame();
}

void TGMPWidget::ShowFrame(const TDIB16bit& Frame)
{
    if (Shown.Width() != Frame.Width() || Shown.Height() != Frame.Height()) Shown.Create(Frame.Width(), Frame.Height());
    std::memcpy(Shown.Bits(), Frame.Bits(), static_cast<size_t>(Frame.Stride()) * static_cast<size_t>(Frame.Height()));
    Presenting = true;
    repaint();
    Presenting = false;
}

void TGMPWidget::ClearFrame()
{
    Shown.Create(Settings.Width, Settings.Height);
    Shown.Fill(ColorTo16(Settings.BackColor));
    update();
}

void TGMPWidget::SetNote(const QString& Text)
{
    if (Text == NoteText) return;
    NoteText = Text;
    update();
}

void TGMPWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor back = ToQColor(Settings.BackColor);
    // Frames are drawn in device pixels: on a high-density screen one pixel of
    // the frame is one of the screen's, not a doubled one.
    const qreal ratio = devicePixelRatioF();
    const int shownWidth = static_cast<int>(std::lround(Shown.Width() / ratio));
    const int shownHeight = static_cast<int>(std::lround(Shown.Height() / ratio));
    // A frame of another size (the window was resized since) stays centred until the next one.
    const int left = (width() - shownWidth) / 2;
    const int top = (height() - shownHeight) / 2;
    const QRect picture(left, top, shownWidth, shownHeight);
    if (picture != rect()) {
        const QRegion around = QRegion(rect()).subtracted(QRegion(picture));
        for (const QRect& part : around) painter.fillRect(part, back);
    }
    if (Shown.Width() > 0 && Shown.Height() > 0) {
        QImage image(Shown.Bits(), Shown.Width(), Shown.Height(), Shown.Stride(), QImage::Format_RGB555);
        image.setDevicePixelRatio(ratio);
        painter.drawImage(left, top, image);
    }
    if (!NoteText.isEmpty()) {
        // Light text on a dark background, dark text on a light one.
        painter.setPen(back.lightness() < 128 ? Qt::white : Qt::black);
        QFont font = painter.font();
        font.setPixelSize(14);
        painter.setFont(font);
        painter.drawText(rect().adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap, NoteText);
    }
    if (!Presenting) emit Repainted();
}

void TGMPWidget::resizeEvent(QResizeEvent* Event)
{
    QWidget::resizeEvent(Event);
    // Frames drawn from now on take the new size, in device pixels; the owner draws again.
    const qreal ratio = devicePixelRatioF();
    Settings.Width = std::max(1, static_cast<int>(std::lround(width() * ratio)));
    Settings.Height = std::clamp(static_cast<int>(std::lround(height() * ratio)), 1, TGMP::MaxHeight);
    if (Resized && isVisible() && Event->oldSize().isValid()) Resized(Event->oldSize(), size());
}

} // namespace verdel
