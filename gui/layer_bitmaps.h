// The twelve layer texture pictures decoded at start-up, and JPEG pictures for the windows.
#pragma once

#include <QImage>
#include <QString>
#include <array>

#include "render/rgb_image.h"

namespace verdel {

// Layer 1..12's texture picture (entry 0 unused); an empty picture gives a white texture.
extern std::array<TRgbImage, 13> LayerBitmaps;

// The file each layer's picture came from (empty for a white texture), for mesh exports.
extern std::array<QString, 13> LayerBitmapFiles;

// Decodes "Text01.jpg" to "Text12.jpg" from TexturesFolder (ending in "/").
// A file that cannot be read leaves its layer empty; the files that failed are
// reported together, and the other layers are still loaded.
void LoadLayerBitmaps(const QString& TexturesFolder);

// A picture as Qt shows it.
QImage ToQImage(const TRgbImage& Image);

// A picture from Qt as the core takes it.
TRgbImage FromQImage(const QImage& Image);

// A JPEG file decoded with libjpeg; an empty picture when it cannot be read.
QImage LoadJpegImage(const QString& FileName);

} // namespace verdel
