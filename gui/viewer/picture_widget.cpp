#include "gui/viewer/picture_widget.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
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
    // A frame of another size (the window was resized since) stays centred until the next one.
    const int left = (width() - Shown.Width()) / 2;
    const int top = (height() - Shown.Height()) / 2;
    const QRect picture(left, top, Shown.Width(), Shown.Height());
    if (picture != rect()) {
        const QRegion around = QRegion(rect()).subtracted(QRegion(picture));
        for (const QRect& part : around) painter.fillRect(part, back);
    }
    if (Shown.Width() > 0 && Shown.Height() > 0) {
        const QImage image(Shown.Bits(), Shown.Width(), Shown.Height(), Shown.Stride(), QImage::Format_RGB555);
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
    // Frames drawn from now on take the new size; the owner draws again.
    Settings.Width = std::max(1, width());
    Settings.Height = std::clamp(height(), 1, TGMP::MaxHeight);
}

} // namespace verdel
