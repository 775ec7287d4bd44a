// The program's own button pictures, drawn in code.
#pragma once

#include <QIcon>

namespace verdel {

enum class TGlyph { New, Open, Save, Cut, Copy, Paste, Random, Mutate, Exit };

// A 20 x 20 picture for a speed button; Qt greys it for the disabled state.
QIcon SpeedButtonIcon(TGlyph Glyph);

} // namespace verdel
