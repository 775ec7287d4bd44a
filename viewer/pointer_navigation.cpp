#include "viewer/pointer_navigation.h"

#include <cmath>

namespace verdel {

void TPointerNavigator::Press(TDrag NewDrag, int X, int Y)
{
    Drag = NewDrag;
    LastX = X;
    LastY = Y;
    TravelX = TravelY = 0;
}

void TPointerNavigator::Move(int X, int Y)
{
    if (Drag == TDrag::None) return;
    TravelX += X - LastX;
    TravelY += Y - LastY;
    LastX = X;
    LastY = Y;
    // Dragging right turns the front of the model right and moves it right;
    // dragging down turns its front down and moves it down.
    if (Drag == TDrag::Turn) {
        StepAlong(TravelX, PixelsPerTurn, dirTurnRight, dirTurnLeft);
        StepAlong(TravelY, PixelsPerTurn, dirTurnDown, dirTurnUp);
    } else {
        const int perStep = static_cast<int>(std::lround(Navigator.PixelsPerMoveStep(Focal)));
        StepAlong(TravelX, perStep, dirMoveRight, dirMoveLeft);
        StepAlong(TravelY, perStep, dirMoveDown, dirMoveUp);
    }
}

void TPointerNavigator::StepAlong(int& travelled, int perStep, TDirection positive, TDirection negative)
{
    for (; travelled >= perStep; travelled -= perStep) Navigator.Nudge(positive);
    for (; travelled <= -perStep; travelled += perStep) Navigator.Nudge(negative);
}

void TPointerNavigator::Release() { Drag = TDrag::None; }

void TPointerNavigator::Wheel(int Delta)
{
    WheelTravel += Delta;
    for (; WheelTravel >= WheelNotch; WheelTravel -= WheelNotch) Navigator.Nudge(dirMoveForward);
    for (; WheelTravel <= -WheelNotch; WheelTravel += WheelNotch) Navigator.Nudge(dirMoveBack);
}

TDirection TPointerNavigator::KeyDirection(TNavigationKey Key, bool Shift)
{
    switch (Key) {
    case TNavigationKey::Left: return Shift ? dirMoveLeft : dirTurnLeft;
    case TNavigationKey::Right: return Shift ? dirMoveRight : dirTurnRight;
    case TNavigationKey::Up: return Shift ? dirMoveUp : dirTurnUp;
    case TNavigationKey::Down: return Shift ? dirMoveDown : dirTurnDown;
    case TNavigationKey::PageUp: return dirMoveForward;
    case TNavigationKey::PageDown: return dirMoveBack;
    case TNavigationKey::RollLeft: return dirRollDown;
    default: return dirRollUp;
    }
}

bool TPointerNavigator::KeyDown(TNavigationKey Key, bool Shift, bool Ctrl, bool AutoRepeat, int Width, int Height)
{
    if (AutoRepeat) return true;
    if (Key == TNavigationKey::Home) {
        Navigator.ReturnHome();
        return true;
    }
    if (Key == TNavigationKey::Fit) {
        Navigator.FitToWindow(Width, Height, Focal);
        return true;
    }
    if (Key == TNavigationKey::Upright) {
        Navigator.StandUpright(Width, Height, Focal);
        return true;
    }
    // A second key while one is held changes nothing, as a second button would not.
    if (KeyHeld) return true;
    KeyHeld = true;
    HeldKey = Key;
    Navigator.ButtonDown(KeyDirection(Key, Shift), Ctrl);
    return true;
}

bool TPointerNavigator::KeyUp(TNavigationKey Key, bool AutoRepeat)
{
    if (AutoRepeat) return true;
    if (KeyHeld && Key == HeldKey) {
        KeyHeld = false;
        Navigator.ButtonUp();
    }
    return true;
}

} // namespace verdel
