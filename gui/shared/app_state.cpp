#include "gui/shared/app_state.h"

namespace verdel {

TAppState AppState;

void ResetAppState() { AppState = TAppState(); }

} // namespace verdel
