// JPEG pictures through libjpeg: decoding any size, colour or greyscale, and encoding.
#pragma once

#include <iosfwd>
#include <stdexcept>
#include <string>

#include "render/rgb_image.h"

namespace verdel {

// A picture that cannot be read or written; the message names the file and
// the reason (libjpeg's own message for a corrupt JPEG).
class EImageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A picture file that was read but whose content is refused: empty, corrupt,
// truncated or too large (a file that cannot be opened or read is a plain EImageError).
class ECorruptImage : public EImageError {
public:
    using EImageError::EImageError;
};

// Decodes a whole JPEG stream (colour, greyscale or CMYK) into RGB. A corrupt
// or truncated stream throws ECorruptImage "Name: reason"; a stream that
// cannot be read throws EImageError. Name is used in messages.
TRgbImage ReadJPEG(std::istream& In, const std::string& Name);

// Opens and decodes a JPEG file; throws EImageError (ECorruptImage for its content) naming the file.
TRgbImage ReadJPEGFile(const std::string& FileName);

// Encodes Image as a baseline colour JPEG (three components) at Quality (1..100).
void WriteJPEG(std::ostream& Out, const TRgbImage& Image, const std::string& Name, int Quality = 90);

// Writes Image to a JPEG file, whole or not at all (TAtomicFile); throws
// std::runtime_error (EImageError for the picture itself) naming the file when it cannot.
void WriteJPEGFile(const std::string& FileName, const TRgbImage& Image, int Quality = 90);

} // namespace verdel
