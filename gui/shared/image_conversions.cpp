#include "gui/shared/image_conversions.h"

#include <algorithm>

#include "render/jpeg_image.h"

namespace verdel {

QImage ToQImage(const TRgbImage& Image)
{
    if (Image.Width <= 0 || Image.Height <= 0) return QImage();
    QImage image(Image.Width, Image.Height, QImage::Format_RGB888);
    for (int y = 0; y < Image.Height; ++y)
        std::copy_n(&Image.Pixels[static_cast<size_t>(y) * Image.Width * 3], Image.Width * 3, image.scanLine(y));
    return image;
}

TRgbImage FromQImage(const QImage& Image)
{
    if (Image.isNull()) return TRgbImage();
    const QImage rgb = Image.convertToFormat(QImage::Format_RGB888);
    TRgbImage result(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y)
        std::copy_n(rgb.constScanLine(y), rgb.width() * 3, &result.Pixels[static_cast<size_t>(y) * rgb.width() * 3]);
    return result;
}

QImage LoadJpegImage(const QString& FileName)
{
    try {
        return ToQImage(ReadJPEGFile(FileName.toStdString()));
    } catch (const std::exception&) {
        return QImage();
    }
}

} // namespace verdel
