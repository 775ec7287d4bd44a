// The model following the editor's text: each pause in typing generates the
// text off the GUI thread, without a question or a message box.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>

#include "viewer/live_generation.h"

class QTimer;

namespace verdel {

class TMDIChild;

// Waits for a pause after the last change of an editor's text, then
// generates the text; a change during a generation stops it. The outcome
// comes back on the GUI thread for the editor it was made from.
class TLivePreview : public QObject {
    Q_OBJECT
public:
    // The pause after the last keystroke.
    static constexpr int PauseMs = 300;

    explicit TLivePreview(QObject* Parent = nullptr);
    ~TLivePreview() override;

    // Whether texts are followed at all (the View menu's choice).
    void SetEnabled(bool On);
    bool Enabled() const { return On; }
    // Editor's text changed: its generation follows the pause.
    void Edited(TMDIChild* Editor);
    // The pause ran out: generates the waiting editor's text, unless it is
    // the text its model already shows or empty.
    void PauseOver();
    // Generates Editor's text at once, after the generation under way (a slider moved).
    void GenerateNow(TMDIChild* Editor);
    // Whether a pause is running.
    bool Waiting() const { return bool(Pending); }
    // Generations started so far.
    int Started() const { return Posted; }
    // Waits for the worker and hands over what it finished (tests).
    void Settle();

    // The pause timer only records that it runs; the caller calls PauseOver (tests).
    bool TimersByHand = false;
    // Receives each finished generation, for the editor it came from.
    std::function<void(TMDIChild& Editor, TLiveOutcome& Outcome)> Finished;

private:
    void Deliver(const std::shared_ptr<TLiveOutcome>& Outcome);
    void Generate(TMDIChild* Editor, bool StopRunning);

    bool On = true;
    QTimer* Pause;
    QPointer<TMDIChild> Pending; // the editor whose pause runs
    // The editor of each generation not yet handed over, by ticket; a
    // generation finishing after a newer one was handed over is dropped.
    std::map<uint64_t, QPointer<TMDIChild>> Editors;
    uint64_t Delivered = 0;
    int Posted = 0;
    TLiveGenerator Generator; // last: stopped first
};

} // namespace verdel
