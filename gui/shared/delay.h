// Waiting while the window system keeps running.
#pragma once

namespace verdel {

// Processes pending events over and over until at least Milliseconds have
// passed, so paints, timers and button presses run during the wait. The
// application state's DelayHandler, when there is one, runs instead (tests
// install one that records the wait and plays what a user does during it).
void DelayWithMessages(int Milliseconds);

} // namespace verdel
