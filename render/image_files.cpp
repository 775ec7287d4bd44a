#include "render/image_files.h"

#include <cstdio>
#include <ostream>
#include <vector>

#include "engine/text_helpers.h"
#include "engine/atomic_file.h"
#include "render/render_math.h"

namespace verdel {

namespace {

void PutLittleEndian(std::vector<uint8_t>& Bytes, uint32_t Value, int Count)
{
    for (int i = 0; i < Count; ++i) Bytes.push_back(static_cast<uint8_t>(Value >> (8 * i)));
}

// The file header and the 40-byte information header of a 24-bit bitmap.
std::vector<uint8_t> BitmapHeaders(int Width, int Height, uint32_t ImageSize)
{
    std::vector<uint8_t> bytes;
    bytes.push_back('B');
    bytes.push_back('M');
    PutLittleEndian(bytes, 54 + ImageSize, 4); // file size
    PutLittleEndian(bytes, 0, 4);              // reserved
    PutLittleEndian(bytes, 54, 4);             // offset of the pixels
    PutLittleEndian(bytes, 40, 4);             // information header size
    PutLittleEndian(bytes, static_cast<uint32_t>(Width), 4);
    PutLittleEndian(bytes, static_cast<uint32_t>(Height), 4); // positive: bottom-up
    PutLittleEndian(bytes, 1, 2);                             // planes
    PutLittleEndian(bytes, 24, 2);                            // bits per pixel
    PutLittleEndian(bytes, 0, 4);                             // no compression
    PutLittleEndian(bytes, ImageSize, 4);
    for (int i = 0; i < 4; ++i) PutLittleEndian(bytes, 0, 4); // resolutions, colours used and important
    return bytes;
}

} // namespace

TRgbImage FrameToImage(const TDIB16bit& Frame)
{
    TRgbImage image(Frame.Width(), Frame.Height());
    uint8_t* out = image.Pixels.data();
    for (int top = 0; top < Frame.Height(); ++top) {
        const uint16_t* row = Frame.RowTable[Frame.Height() - 1 - top];
        for (int x = 0; x < Frame.Width(); ++x) {
            *out++ = Widen5((row[x] >> 10) & 31);
            *out++ = Widen5((row[x] >> 5) & 31);
            *out++ = Widen5(row[x] & 31);
        }
    }
    return image;
}

void WriteFrameBMP(std::ostream& Out, const TDIB16bit& Frame) { WriteBMP(Out, FrameToImage(Frame)); }

void WriteBMP(std::ostream& Out, const TRgbImage& Image)
{
    const uint32_t stride = (static_cast<uint32_t>(Image.Width) * 3 + 3) / 4 * 4;
    const std::vector<uint8_t> headers = BitmapHeaders(Image.Width, Image.Height, stride * Image.Height);
    Out.write(reinterpret_cast<const char*>(headers.data()), static_cast<std::streamsize>(headers.size()));
    std::vector<uint8_t> line(stride, 0);
    // Bottom row first, blue, green, red in each pixel.
    for (int top = Image.Height - 1; top >= 0; --top) {
        const uint8_t* rgb = &Image.Pixels[static_cast<size_t>(top) * static_cast<size_t>(Image.Width) * 3];
        for (int x = 0; x < Image.Width; ++x, rgb += 3) {
            line[3 * x] = rgb[2];
            line[3 * x + 1] = rgb[1];
            line[3 * x + 2] = rgb[0];
        }
        Out.write(reinterpret_cast<const char*>(line.data()), static_cast<std::streamsize>(line.size()));
    }
}

void SaveFrameBMP(const TDIB16bit& Frame, const std::string& FileName)
{
    TAtomicFile file(FileName);
    file.Write([&](std::ostream& out) { WriteFrameBMP(out, Frame); });
    file.Commit();
}

void SaveFrameJPEG(const TDIB16bit& Frame, const std::string& FileName)
{
    WriteJPEGFile(FileName, FrameToImage(Frame), 90);
}

std::optional<TPictureFormat> PictureFormatOf(const std::string& FileName)
{
    if (EndsWithAnyCase(FileName, ".bmp")) return TPictureFormat::pfBmp;
    if (EndsWithAnyCase(FileName, ".jpg") || EndsWithAnyCase(FileName, ".jpeg")) return TPictureFormat::pfJpeg;
    if (EndsWithAnyCase(FileName, ".png")) return TPictureFormat::pfPng;
    return std::nullopt;
}

void SavePicture(const TRgbImage& Image, const std::string& FileName, const TPictureNotes& Notes)
{
    const std::optional<TPictureFormat> format = PictureFormatOf(FileName);
    if (!format) throw EImageError(FileName + ": the name must end in .bmp, .jpg or .png");
    if (*format == TPictureFormat::pfJpeg) return WriteJPEGFile(FileName, Image, 90);
    TAtomicFile file(FileName);
    file.Write([&](std::ostream& out) {
        if (*format == TPictureFormat::pfPng) WritePNG(out, Image, Notes, FileName);
        else WriteBMP(out, Image);
    });
    file.Commit();
}

std::string LayerTextureFileName(int Layer)
{
    char name[16];
    std::snprintf(name, sizeof name, "Text%02d.jpg", Layer);
    return name;
}

std::array<TRgbImage, LayerCount> LoadLayerImages(const std::string& Folder)
{
    std::array<TRgbImage, LayerCount> images;
    const std::string prefix = Folder.empty() || Folder.back() == '/' ? Folder : Folder + "/";
    for (int layer = 1; layer <= LayerCount; ++layer)
        images[layer - 1] = ReadJPEGFile(prefix + LayerTextureFileName(layer));
    return images;
}

} // namespace verdel
