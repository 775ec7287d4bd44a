#include "gui/live_preview.h"

#include <QCoreApplication>
#include <QTimer>

#include "gui/editor/definition_text_edit.h"
#include "gui/editor/editor_window.h"
#include "gui/shared/app_state.h"
#include "gui/shared/text_codec.h"

namespace verdel {

TLivePreview::TLivePreview(QObject* Parent)
        : QObject(Parent), Generator([this](std::shared_ptr<TLiveOutcome> Outcome) {
              // On the worker: the outcome goes to the GUI thread (dropped if this is gone by then).
              QMetaObject::invokeMethod(
                  this, [this, Outcome] { Deliver(Outcome); }, Qt::QueuedConnection);
          })
{
    Pause = new QTimer(this);
    Pause->setObjectName("LivePause");
    Pause->setSingleShot(true);
    Pause->setInterval(PauseMs);
    connect(Pause, &QTimer::timeout, this, &TLivePreview::PauseOver);
}

TLivePreview::~TLivePreview() { Generator.Cancel(); }

void TLivePreview::SetEnabled(bool Enable)
{
    On = Enable;
    if (On) return;
    Pause->stop();
    Pending = nullptr;
    Generator.Cancel();
    // Their generations may have been stopped before they were finished.
    for (const auto& [ticket, editor] : Editors)
        if (editor) editor->GeneratedText.clear();
    Editors.clear();
}

void TLivePreview::Edited(TMDIChild* Editor)
{
    if (!On || !Editor) return;
    // A pause of another editor ends now: its text is generated at once.
    if (Pending && Pending != Editor) PauseOver();
    Pending = Editor;
    if (!TimersByHand) Pause->start();
}

void TLivePreview::PauseOver()
{
    Pause->stop();
    TMDIChild* editor = Pending;
    Pending = nullptr;
    Generate(editor, true);
}

void TLivePreview::GenerateNow(TMDIChild* Editor)
{
    if (Pending == Editor) {
        Pause->stop();
        Pending = nullptr;
    }
    Generate(Editor, false);
}

void TLivePreview::Generate(TMDIChild* editor, bool StopRunning)
{
    if (!editor || !On) return;
    const QString text = editor->Memo1->toPlainText();
    if (text.trimmed().isEmpty() || text == editor->GeneratedText) return;
    editor->GeneratedText = text;
    // The random source's state as it is, not advanced: a stochastic model stays put while it is edited.
    const uint64_t ticket =
        Generator.Post(EngineLines(text), SolidSettings(AppState.Settings), RandomSource, StopRunning);
    Editors[ticket] = editor;
    ++Posted;
}

void TLivePreview::Settle()
{
    Generator.WaitIdle();
    QCoreApplication::sendPostedEvents(this);
}

void TLivePreview::Deliver(const std::shared_ptr<TLiveOutcome>& Outcome)
{
    // Never an older text after a newer one; the editor may have closed meanwhile.
    if (Outcome->Ticket <= Delivered) return;
    Delivered = Outcome->Ticket;
    const auto found = Editors.find(Outcome->Ticket);
    if (found == Editors.end()) return; // turned off since
    const QPointer<TMDIChild> editor = found->second;
    Editors.erase(Editors.begin(), std::next(found));
    if (editor && Finished) Finished(*editor, *Outcome);
}

} // namespace verdel
