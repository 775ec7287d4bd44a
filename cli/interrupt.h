// Ctrl+C in the batch tool: a running generation stops cleanly, anything else ends at once.
#pragma once

#include "engine/cancel.h"

namespace verdel::cli {

// Installs the SIGINT handler. While a TInterruptible scope is open it cancels
// InterruptToken(), so rewriting or the turtle stops and the command returns
// ExitInterrupted; outside one, or at a second Ctrl+C, it removes the
// temporaries of the files being written (RemoveTemporaryFiles), prints
// "Interrupted" and ends the process with ExitInterrupted at once. SIGXFSZ is
// ignored, so a file-size limit is a failed write like a full disk.
void InstallInterruptHandler();

// The token the handler cancels; generations and rewriting of the tool poll it.
TCancelToken& InterruptToken();

// Marks the work that polls InterruptToken.
class TInterruptible {
public:
    TInterruptible();
    ~TInterruptible();
    TInterruptible(const TInterruptible&) = delete;
    TInterruptible& operator=(const TInterruptible&) = delete;
};

// From now on InterruptToken's progress reports become lines on standard
// error, one per stage and whole percent: "progress: rewriting 40%".
void EnableProgressLines();

} // namespace verdel::cli
