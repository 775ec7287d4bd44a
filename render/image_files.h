// Pictures of the last frame (BMP, JPEG and PNG) and the layer texture files.
#pragma once

#include <array>
#include <iosfwd>
#include <optional>
#include <string>

#include "engine/face_store.h"
#include "render/dib16.h"
#include "render/jpeg_image.h"
#include "render/png_image.h"
#include "render/rgb_image.h"

namespace verdel {

// The frame as an RGB picture, top row first, each 5-bit channel widened to
// 8 bits as (c << 3) | (c >> 2).
TRgbImage FrameToImage(const TDIB16bit& Frame);

// Writes the frame as a 24-bit Windows bitmap (rows bottom-up, padded to 4 bytes).
void WriteFrameBMP(std::ostream& Out, const TDIB16bit& Frame);

// Saves the frame as a BMP file, whole or not at all (TAtomicFile); throws
// std::runtime_error naming the file when it cannot.
void SaveFrameBMP(const TDIB16bit& Frame, const std::string& FileName);

// Saves the frame as a JPEG file (see WriteJPEGFile): quality 90, colour, baseline, full size.
void SaveFrameJPEG(const TDIB16bit& Frame, const std::string& FileName);

// The picture formats, chosen by a file name's extension.
enum class TPictureFormat { pfBmp, pfJpeg, pfPng };

// The format a name's extension names in any letter case (".bmp", ".jpg" or
// ".jpeg", ".png"); nothing for any other name.
std::optional<TPictureFormat> PictureFormatOf(const std::string& FileName);

// Writes Image as a 24-bit Windows bitmap (rows bottom-up, padded to 4 bytes).
void WriteBMP(std::ostream& Out, const TRgbImage& Image);

// Saves Image as FileName's extension says: a BMP, a JPEG as SaveFrameJPEG
// writes it, or a PNG carrying Notes; throws EImageError naming the file
// when it cannot, or when the extension names none of them.
void SavePicture(const TRgbImage& Image, const std::string& FileName, const TPictureNotes& Notes);

// The default texture file of layer 1..12: "Text01.jpg" to "Text12.jpg".
std::string LayerTextureFileName(int Layer);

// Decodes the twelve default textures of Folder, layer 1 first; throws
// EImageError naming the first file that cannot be read.
std::array<TRgbImage, LayerCount> LoadLayerImages(const std::string& Folder);

} // namespace verdel
