// The navigation buttons' arrows, drawn in code.
#pragma once

#include <QIcon>

namespace verdel {

enum class TArrow { Up, Down, Left, Right, UpRight, DownLeft };

// A 16 x 16 arrow: red with a black outline, and in the disabled state a grey
// outline of the same arrow, on a transparent background.
QIcon ArrowIcon(TArrow Arrow);

} // namespace verdel
