// A one-line label for status bars: text longer than the room it has ends in
// "…" instead of being cut mid-letter, and it never asks for more width than
// its layout gives it, so a long message cannot widen its window or dock.
#pragma once

#include <QLabel>

namespace verdel {

class TElidedLabel : public QLabel {
public:
    using QLabel::QLabel;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* Event) override;
};

} // namespace verdel
