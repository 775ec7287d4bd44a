// Pictures between the core's RGB images, JPEG files and Qt's images.
#pragma once

#include <QImage>
#include <QString>

#include "render/rgb_image.h"

namespace verdel {

// A picture as Qt shows it.
QImage ToQImage(const TRgbImage& Image);

// A picture from Qt as the core takes it.
TRgbImage FromQImage(const QImage& Image);

// A JPEG file decoded with libjpeg; an empty picture when it cannot be read.
QImage LoadJpegImage(const QString& FileName);

} // namespace verdel
