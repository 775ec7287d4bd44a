// Waiting while the window system keeps running.
#pragma once

#include <functional>

namespace verdel {

// Processes pending events over and over until at least Milliseconds have
// passed, so paints, timers and button presses run during the wait.
void DelayWithMessages(int Milliseconds);

// What DelayWithMessages does instead of waiting on the clock; tests install
// one that records the wait and plays what a user does during it. An empty
// handler restores the real wait.
using TDelayHandler = std::function<void(int Milliseconds)>;
void SetDelayHandler(TDelayHandler Handler);

} // namespace verdel
