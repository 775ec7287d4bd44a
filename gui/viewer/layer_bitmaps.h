// The twelve layer texture pictures decoded at start-up, and JPEG pictures for the windows.
#pragma once

#include <QImage>
#include <QString>
#include <array>

#include "render/rgb_image.h"

namespace verdel {

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
