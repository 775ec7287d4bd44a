#include "gui/shared/generation_runner.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMetaObject>
#include <QTimer>

#include "engine/generation_thread.h"
#include "gui/shared/app_state.h"
#include "gui/shared/dialogs.h"
#include "gui/shared/workspace.h"

namespace verdel {

namespace {

// Forwards every question and message of the worker to Dialogs() on the GUI
// thread and waits for the answer, so they come in the generation's order.
class TGuiThreadPrompt : public TPrompt {
public:
    void Message(const std::string& Text) override
    {
        OnGuiThread([&] { Dialogs().Message(Text); });
    }
    TAnswer Confirm(const std::string& Text, bool DefaultNo) override
    {
        TAnswer answer = TAnswer::No;
        OnGuiThread([&] { answer = Dialogs().Confirm(Text, DefaultNo); });
        return answer;
    }
    void BeginBusy(const std::string& StatusText) override
    {
        OnGuiThread([&] { Dialogs().BeginBusy(StatusText); });
    }
    void EndBusy() override
    {
        OnGuiThread([] { Dialogs().EndBusy(); });
    }

private:
    template <class F> static void OnGuiThread(F&& Call)
    {
        QMetaObject::invokeMethod(qApp, std::forward<F>(Call), Qt::BlockingQueuedConnection);
    }
};

// The progress line of what the worker reported last.
QString ProgressText(const TProgress& Last)
{
    if (Last.Phase == TWorkPhase::Rewriting) {
        if (Last.Total <= 0) return "Rewriting...";
        return QString("Rewriting: step %1 of %2").arg(Last.Done).arg(Last.Total);
    }
    const int percent = Last.Total > 0 ? static_cast<int>(Last.Done * 100 / Last.Total) : 0;
    return QString("Generating output: %1%").arg(percent);
}

// Esc anywhere in the program cancels while the generation runs.
class TEscapeFilter : public QObject {
public:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        if (Event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(Event)->key() == Qt::Key_Escape) {
            CancelGeneration();
            return true;
        }
        return QObject::eventFilter(Watched, Event);
    }
};

} // namespace

void CancelGeneration()
{
    if (AppState.Generation) AppState.Generation->Cancel();
}

bool GenerationRunning() { return AppState.Generation != nullptr; }

TGenerated RunGeneration(const TLines& Lines, const TSolidSettings& Solids)
{
    TGuiThreadPrompt prompt;
    QEventLoop loop;
    TGenerationThread generation(Lines, Solids, RandomSource, prompt, [&loop] {
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    AppState.Generation = &generation;

    // The progress line and its Cancel come after half a second, so short
    // generations do not flash them; then the line follows the work.
    QTimer ticker;
    ticker.setInterval(100);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        TWorkspace* workspace = AppState.Workspace;
        if (!workspace) return;
        // While the generation waits for an answer (a fault, the size
        // question), the box says what is going on, not the line.
        if (QApplication::activeModalWidget()) workspace->HideProgress();
        else workspace->ShowProgress(ProgressText(generation.Progress()), CancelGeneration);
    });
    QTimer::singleShot(500, &ticker, [&ticker] { ticker.start(); });
    TEscapeFilter escape;
    qApp->installEventFilter(&escape);
    loop.exec();
    qApp->removeEventFilter(&escape);
    generation.Wait();
    ticker.stop();
    AppState.Generation = nullptr;
    if (AppState.Workspace) AppState.Workspace->HideProgress();
    RandomSource = generation.Random();
    if (generation.Fault()) {
        // Out of memory, or another fault the generation cannot report itself.
        TGenerationResult result;
        result.Status = TGenerationStatus::Refused;
        result.Message = FaultText(generation.Fault());
        Dialogs().Error(result.Message);
        return {result, TModel{}};
    }
    return {generation.Result(), std::move(generation.Model())};
}

} // namespace verdel
