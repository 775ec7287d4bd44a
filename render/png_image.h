// PNG pictures through libpng: lossless 8-bit RGB with text notes.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

#include "render/jpeg_image.h"
#include "render/rgb_image.h"

namespace verdel {

// What a picture records of how it was made, as PNG text chunks.
struct TPictureNotes {
    std::string Software = "Verdel";
    std::string Definition;       // the definition text (Latin-1, lines ending in "\n"); empty: none
    std::optional<uint32_t> Seed; // the random source's seed when the generation began
};

// Encodes Image as an 8-bit RGB PNG, not interlaced, with Notes as
// uncompressed Latin-1 text chunks: "Software", then "Definition" and "Seed"
// when there are some. Compression favours speed: a frame of 1024 x 768
// takes a few milliseconds. Throws EImageError naming Name when it cannot.
void WritePNG(std::ostream& Out, const TRgbImage& Image, const TPictureNotes& Notes, const std::string& Name);

} // namespace verdel
