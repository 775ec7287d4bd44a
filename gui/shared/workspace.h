// What the windows inside the main frame ask of it, without knowing the frame's class.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <functional>

namespace verdel {

class TWorkspace {
public:
    virtual ~TWorkspace() = default;

    // The area child windows may use: the client area less the help panel and bars.
    virtual QSize UsableClientSize() const = 0;
    // The frame's geometry on the screen (the viewer opens over it).
    virtual QRect FrameGeometry() const = 0;
    // Opens a new editor holding a copy of Text, marked modified.
    virtual void OpenEditorWithText(const QString& Text) = 0;
    // Called by a generator window when it closes.
    virtual void RandomDialogClosed() = 0;
    virtual void MutateDialogClosed() = 0;
    // A long job's progress line in the status bar, with a Cancel button that calls OnCancel.
    virtual void ShowProgress(const QString& Text, const std::function<void()>& OnCancel) = 0;
    virtual void HideProgress() = 0;
};

} // namespace verdel
