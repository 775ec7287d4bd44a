// The twelve default layer textures, painted procedurally.
#pragma once

#include "render/rgb_image.h"

namespace verdel::tools {

// The 128 x 128 texture of layer 1..12: leaves, needles, moss, water, blue
// flowers, lavender, berries, bark, blossom, seeds, stone and birch bark,
// each in the hue of its layer colour. The same picture on every run.
TRgbImage PaintLayerTexture(int Layer);

} // namespace verdel::tools
