#include "gui/generation_runner.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMetaObject>
#include <QTimer>
#include <exception>
#include <mutex>
#include <thread>

#include "engine/cancel.h"
#include "gui/app_state.h"
#include "gui/dialogs.h"
#include "gui/workspace.h"

namespace verdel {

namespace {

// The token of the generation now running, null when none runs.
TCancelToken* RunningToken = nullptr;

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

// The progress line: what the worker reported last, read by the GUI thread.
class TProgressText {
public:
    void Set(const TProgress& Progress)
    {
        std::lock_guard lock(Mutex);
        Last = Progress;
    }
    QString Text() const
    {
        std::lock_guard lock(Mutex);
        if (Last.Phase == TWorkPhase::Rewriting) {
            if (Last.Total <= 0) return "Rewriting...";
            return QString("Rewriting: step %1 of %2").arg(Last.Done).arg(Last.Total);
        }
        const int percent = Last.Total > 0 ? static_cast<int>(Last.Done * 100 / Last.Total) : 0;
        return QString("Generating output: %1%").arg(percent);
    }

private:
    mutable std::mutex Mutex;
    TProgress Last;
};

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
    if (RunningToken) RunningToken->Cancel();
}

bool GenerationRunning() { return RunningToken != nullptr; }

TGenerationResult RunGeneration(const TLines& Lines, const TSolidSettings& Solids, TDefinitionState& State,
                                TFaceStore& Store, TRandomSource& Random)
{
    TCancelToken token;
    TProgressText progress;
    token.OnProgress = [&progress](const TProgress& p) { progress.Set(p); };
    TGuiThreadPrompt prompt;
    TGenerationResult result;
    QEventLoop loop;
    RunningToken = &token;

    std::exception_ptr fault; // out of memory, or another fault the generation cannot report itself
    std::thread worker([&] {
        try {
            result = GenerateModel(Lines, Solids, prompt, State, Store, Random, token);
        } catch (...) {
            fault = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });

    // The progress line and its Cancel come after half a second, so short
    // generations do not flash them; then the line follows the work.
    QTimer ticker;
    ticker.setInterval(100);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (!Workspace) return;
        // While the generation waits for an answer (a fault, the size
        // question), the box says what is going on, not the line.
        if (QApplication::activeModalWidget()) Workspace->HideProgress();
        else Workspace->ShowProgress(progress.Text(), CancelGeneration);
    });
    QTimer::singleShot(500, &ticker, [&ticker] { ticker.start(); });
    TEscapeFilter escape;
    qApp->installEventFilter(&escape);
    loop.exec();
    qApp->removeEventFilter(&escape);
    worker.join();
    ticker.stop();
    RunningToken = nullptr;
    if (Workspace) Workspace->HideProgress();
    if (fault) {
        // The half-built model goes; the generation fails with the fault's message.
        FreeScene(Store);
        result = TGenerationResult{};
        result.Status = TGenerationStatus::Refused;
        result.Message = FaultText(fault);
        Dialogs().Error(result.Message);
    }
    return result;
}

} // namespace verdel
