// Pictures drawn larger and averaged down, so that their edges lose their steps.
#pragma once

#include "engine/face_store.h"
#include "render/gmp.h"
#include "render/rgb_image.h"

namespace verdel {

// The largest factor RenderSupersampled takes.
constexpr int MaxSupersampling = 8;

// Draws Store with Gmp's settings (mode, background, light, textures,
// threads) as a Width x Height picture: the frame drawn at Factor x Factor
// times the size, each Factor x Factor block of its pixels averaged into one
// pixel (each channel of the widened 16-bit colours, rounded half up). The
// large frame is drawn in tiles that the buffer holds, each with the
// projection of the whole, so any size can be drawn; Gmp's buffer is left at
// the last tile's size. Factor is 1 to MaxSupersampling; 1 gives the frame
// itself as FrameToImage would.
TRgbImage RenderSupersampled(TGMP& Gmp, TFaceStore& Store, int Width, int Height, int Factor);

} // namespace verdel
