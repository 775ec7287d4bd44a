// The renderer's window: shows the viewer's frames one to one.
#pragma once

#include <QString>
#include <QWidget>
#include <memory>

#include "render/dib16.h"
#include "render/gmp.h"

class QWheelEvent;

namespace verdel {

// A child window around a TGMP, which holds the view's settings (render
// mode, background colour, light, textures) and the size of the frames to
// draw; the frames themselves are drawn elsewhere and shown with ShowFrame.
// A repaint of its own shows the last frame again and tells the owner (see
// Repainted); a Flip of the TGMP shows the TGMP's own frame. The frame size
// follows the window's size, at most TGMP::MaxHeight rows high.
class TGMPWidget : public QWidget {
    Q_OBJECT
public:
    explicit TGMPWidget(QWidget* Parent = nullptr);

    TGMP& Gmp() { return *Renderer; }

    // Copies Frame and shows it at once.
    void ShowFrame(const TDIB16bit& Frame);
    // The frame on screen (what Save As writes as a picture).
    const TDIB16bit& Frame() const { return Shown; }
    // Puts the background colour in place of the frame on screen.
    void ClearFrame();

    // A line of text shown in the middle of the picture; empty for none.
    void SetNote(const QString& Text);
    QString Note() const { return NoteText; }

signals:
    // The window repainted itself (the owner draws the model again).
    void Repainted();
    void MouseDown(QMouseEvent* Event);
    void MouseMove(QMouseEvent* Event);
    void MouseUp(QMouseEvent* Event);
    void WheelTurned(QWheelEvent* Event);

protected:
    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override { emit MouseDown(Event); }
    void mouseMoveEvent(QMouseEvent* Event) override { emit MouseMove(Event); }
    void mouseReleaseEvent(QMouseEvent* Event) override { emit MouseUp(Event); }
    void wheelEvent(QWheelEvent* Event) override { emit WheelTurned(Event); }

private:
    std::unique_ptr<TGMP> Renderer;
    TDIB16bit Shown;
    QString NoteText;
    bool Presenting = false; // the repaint under way shows a new frame
};

} // namespace verdel
