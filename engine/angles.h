// The three values of pi the definition language uses. They differ on purpose:
// each is the precision its conversion has always had, and models depend on it.
#pragma once

namespace verdel {

// The angle line of a definition: TurnAngle = degrees / 180 x this (pi to ten digits).
constexpr long double AngleLinePi = 3.141592654L;

// "|" and "%" turn by this: the Single nearest to pi.
constexpr float HalfTurn = 3.14159274f;

// A command's parameter in degrees times this gives radians (pi / 180 to five digits).
constexpr long double DegreesToRadians = 0.017453L;

} // namespace verdel
