// Standing a turtle model upright: the quarter turn about the screen's
// horizontal axis that brings the way it grew up the screen.
#pragma once

#include "engine/face_store.h"

namespace verdel {

// The turn about x in degrees (0, -90, 90 or 180) that points the way from the
// turtle's start (the origin) to the middle of Store's corners most nearly up
// the screen (+y). A model grown along +z, the turtle's first heading, takes
// -90, the turn of `render --turn=-90,0,0`; one drawn up the screen already,
// or one spread evenly about its start, takes 0.
int UprightTurn(const TFaceStore& Store);

// Turns every corner of Store about x by Degrees, a multiple of 90: the
// coordinates are exchanged and negated, so nothing is rounded.
void TurnQuarters(TFaceStore& Store, int Degrees);

// Turns Store by UprightTurn and returns the turn; a second call turns nothing.
int StandUpright(TFaceStore& Store);

} // namespace verdel
