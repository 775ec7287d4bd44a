// The viewer's picture: shows the frames the renderer draws, one to one.
#pragma once

#include <functional>

#include <QString>
#include <QWidget>

#include "render/dib16.h"
#include "viewer/frame_worker.h"

class QWheelEvent;

namespace verdel {

// The viewer's picture control (GMP1). It keeps the settings every frame is
// drawn with (size, background colour, render mode); the frames themselves
// are drawn elsewhere and shown with ShowFrame. A repaint of its own shows
// the last frame again and tells the owner (see Repainted). The frame size
// follows the window's size, at most TGMP::MaxHeight rows high.
class TGMPWidget : public QWidget {
    Q_OBJECT
public:
    explicit TGMPWidget(QWidget* Parent = nullptr);

    // What the frames are drawn with; the size follows the window.
    TFrameSettings Settings;
    // Called when the shown widget changes its size (old size, new size).
    std::function<void(QSize, QSize)> Resized;

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
    TDIB16bit Shown;
    QString NoteText;
    bool Presenting = false; // the repaint under way shows a new frame
};

} // namespace verdel
