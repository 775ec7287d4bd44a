// What the windows inside the main frame ask of it, without knowing the frame's class.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

#include "engine/model.h"
#include "engine/text_lines.h"

namespace verdel {

// The main frame as the windows inside it see it (TMainForm is the one workspace).
class TWorkspace {
public:
    virtual ~TWorkspace() = default;

    // The area child windows may use: the client area less the help panel and bars.
    virtual QSize UsableClientSize() const = 0;
    // The frame's geometry on the screen (the viewer opens over it).
    virtual QRect FrameGeometry() const = 0;
    // Opens a new editor holding a copy of Text, marked modified.
    virtual void OpenEditorWithText(const QString& Text) = 0;
    // The definition of the editor in front, if an editor is in front.
    virtual std::optional<TLines> ActiveDefinition() const = 0;
    // Shows Model in the viewer, which takes it over (modally; the model is
    // released when the viewer closes).
    virtual void ShowModel(TModel Model) = 0;
    // Shows Model, generated from the text of the editor Editor, as that editor's model.
    virtual void ShowEditorModel(TModel Model, const void* Editor)
    {
        (void)Editor;
        ShowModel(std::move(Model));
    }
    // The editor Editor is closing: its model (Model, when it holds one) goes.
    virtual void EditorClosing(const void* Editor, TModel Model)
    {
        (void)Editor;
        (void)Model;
    }
    // A long job's progress line in the status bar, with a Cancel button that calls OnCancel.
    virtual void ShowProgress(const QString& Text, const std::function<void()>& OnCancel) = 0;
    virtual void HideProgress() = 0;
    // The status bar's first panel.
    virtual void ShowStatus(const QString& Text) = 0;
    // The warning line about the last generation; an empty text clears it.
    virtual void ShowWarning(const QString& Text) = 0;
};

} // namespace verdel
