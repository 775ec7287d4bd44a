// The renderer's window: presents TGMP's frame buffer one to one.
#pragma once

#include <QWidget>
#include <memory>

#include "render/gmp.h"

namespace verdel {

// A child window around a TGMP. A repaint of its own fills the frame with
// the background colour and presents it (the owner renders the model again,
// see Repainted); a Flip presents the frame the owner drew. The buffer
// follows the window's size, at most TGMP::MaxHeight rows high.
class TGMPWidget : public QWidget {
    Q_OBJECT
public:
    explicit TGMPWidget(QWidget* Parent = nullptr);

    TGMP& Gmp() { return *Renderer; }

signals:
    // The window repainted itself and now shows the background only.
    void Repainted();
    void MouseDown(QMouseEvent* Event);
    void MouseMove(QMouseEvent* Event);
    void MouseUp(QMouseEvent* Event);

protected:
    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override { emit MouseDown(Event); }
    void mouseMoveEvent(QMouseEvent* Event) override { emit MouseMove(Event); }
    void mouseReleaseEvent(QMouseEvent* Event) override { emit MouseUp(Event); }

private:
    std::unique_ptr<TGMP> Renderer;
    bool Presenting = false; // the repaint under way shows a flipped frame
};

} // namespace verdel
