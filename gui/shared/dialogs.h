// The GUI's messages, questions and file and colour dialogs, replaceable by tests.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <exception>
#include <optional>
#include <string>

#include "engine/prompt.h"

class QWidget;

namespace verdel {

// Every window asks through the current TDialogs, so a test can install a
// scripted one and answer without a modal box blocking it.
class TDialogs : public TPrompt {
public:
    // The open-file dialog; an empty name when cancelled.
    virtual QString OpenFileName(QWidget* Parent, const QString& Folder, const QString& Filter) = 0;

    // The save-file dialog with its filters ("AutoCad DXF (*.dxf)"); FilterIndex
    // (0-based) selects the filter on entry and tells the chosen one on return.
    // An empty name when cancelled.
    virtual QString SaveFileName(QWidget* Parent, const QString& Folder, const QString& Proposed,
                                 const QStringList& Filters, int& FilterIndex) = 0;

    // The colour dialog; nothing when cancelled.
    virtual std::optional<QColor> ChooseColor(QWidget* Parent, const QColor& Initial) = 0;

    // The application's error box for failures the code does not expect (file errors).
    virtual void Error(const std::string& Text) = 0;
};

// The dialogs in use: the standard Qt ones unless a test installed others.
TDialogs& Dialogs();

// Installs Replacement in the application state (nullptr restores the standard dialogs).
void SetDialogs(TDialogs* Replacement);

// Shows Text in the main frame's first status panel, when there is a frame.
void ShowStatus(const QString& Text);

// Shows a warning line about the last generation in the main frame, when
// there is one; an empty text clears it.
void ShowWarning(const QString& Text);

// Asks "OK to overwrite NAME" when the file Name exists; whether it may be written.
bool MayOverwrite(const QString& Name);

// Makes Folder the current folder, where the file dialogs open; a failure is
// reported in the error box and returns false.
bool EnterFolder(const QString& Folder);

// What an exception that ended some work tells the user: std::bad_alloc as
// running out of memory, any other by its own message.
std::string FaultText(const std::exception_ptr& Fault);

// Text with CR LF line breaks as Qt shows them.
QString DisplayText(const std::string& Text);

} // namespace verdel
