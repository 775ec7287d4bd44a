// Waiting while the window system keeps running.
#pragma once

namespace verdel {

// Processes pending events over and over until at least Milliseconds have
// passed, so paints, timers and button presses run during the wait.
void DelayWithMessages(int Milliseconds);

} // namespace verdel
