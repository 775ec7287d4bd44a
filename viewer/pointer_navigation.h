// The mouse and the keyboard in the picture, as navigation steps.
#pragma once

#include <cstdint>

#include "viewer/navigation.h"

namespace verdel {

// What a mouse drag does: the left button turns, the right or middle button moves.
enum class TDrag : uint8_t { None, Turn, Move };

// The keys the picture answers, as the window names them.
enum class TNavigationKey : uint8_t {
    Left,
    Right,
    Up,
    Down,
    PageUp,
    PageDown,
    Home,
    Fit,       // F
    Upright,   // U
    RollLeft,  // "<" (or ",")
    RollRight, // ">" (or ".")
};

// Turns pointer and key events into the steps of the navigation buttons, so
// that they move and turn the model exactly as the buttons do: a drag takes
// one step for every PixelsPerTurn (turning) or PixelsPerMoveStep (moving)
// pixels, the wheel one step nearer or farther a notch, and a held key acts
// as a held button (one step at once, then the repeat timer's).
class TPointerNavigator {
public:
    // Pixels of drag per 2.5-degree turn step.
    static constexpr int PixelsPerTurn = 4;
    // Wheel rotation of one notch, in eighths of a degree.
    static constexpr int WheelNotch = 120;

    TPointerNavigator(TNavigator& navigator, int focal) : Navigator(navigator), Focal(focal) {}

    // A mouse button went down at (X, Y) (window pixels, y downward).
    void Press(TDrag Drag, int X, int Y);
    // The pointer moved to (X, Y): the whole steps the drag has covered since the last step.
    void Move(int X, int Y);
    // The mouse button went up.
    void Release();
    TDrag Dragging() const { return Drag; }

    // The wheel turned by Delta eighths of a degree (away from the user positive: nearer).
    void Wheel(int Delta);

    // A key went down (AutoRepeat: the system's repetition of a held key, which
    // the repeat timer already covers); Width x Height is the picture's size,
    // for Fit. Returns whether the key is a navigation key.
    bool KeyDown(TNavigationKey Key, bool Shift, bool Ctrl, bool AutoRepeat, int Width, int Height);
    // A key went up: the held key stops its steps.
    bool KeyUp(TNavigationKey Key, bool AutoRepeat);

    // The button direction of an arrow key, Page Up or Page Down (Shift: move instead of turn).
    static TDirection KeyDirection(TNavigationKey Key, bool Shift);

private:
    void StepAlong(int& travelled, int perStep, TDirection positive, TDirection negative);

    TNavigator& Navigator;
    int Focal;
    TDrag Drag = TDrag::None;
    int LastX = 0, LastY = 0;
    int TravelX = 0, TravelY = 0; // pixels dragged and not yet stepped
    int WheelTravel = 0;
    bool KeyHeld = false;
    TNavigationKey HeldKey = TNavigationKey::Left;
};

} // namespace verdel
