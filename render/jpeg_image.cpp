#include "render/jpeg_image.h"

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include <jpeglib.h>

#include "engine/atomic_file.h"

namespace verdel {

namespace {

// Larger pictures are refused rather than risking an enormous allocation.
constexpr unsigned long long MaxPixels = 100'000'000ULL;

// libjpeg reports errors through this manager: the message is kept and
// control jumps back to the call that started the work, which then throws.
struct TJpegErrors {
    jpeg_error_mgr Base;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

extern "C" void JumpOnError(j_common_ptr Info)
{
    auto* errors = reinterpret_cast<TJpegErrors*>(Info->err);
    Info->err->format_message(Info, errors->Message);
    std::longjmp(errors->Jump, 1);
}

// Warnings about corrupt data (level -1) end the decoding as errors do: a
// damaged texture is reported rather than shown half grey.
extern "C" void JumpOnCorruptData(j_common_ptr Info, int Level)
{
    if (Level < 0) JumpOnError(Info);
}

void UseErrors(jpeg_error_mgr*& Field, TJpegErrors& Errors)
{
    Field = jpeg_std_error(&Errors.Base);
    Errors.Base.error_exit = JumpOnError;
    Errors.Base.emit_message = JumpOnCorruptData;
    std::strcpy(Errors.Message, "unknown JPEG error");
}

// Converts one decoded CMYK row to RGB (Adobe files store the inks inverted).
void CmykRowToRgb(const uint8_t* Cmyk, uint8_t* Rgb, int Width, bool Inverted)
{
    for (int x = 0; x < Width; ++x, Cmyk += 4, Rgb += 3) {
        const int k = Inverted ? Cmyk[3] : 255 - Cmyk[3];
        for (int c = 0; c < 3; ++c) Rgb[c] = static_cast<uint8_t>((Inverted ? Cmyk[c] : 255 - Cmyk[c]) * k / 255);
    }
}

// The decoding itself. Only plain data lives in this frame, so the jump
// from libjpeg skips no destructor; false means Errors holds the message.
bool Decode(jpeg_decompress_struct* Info, TJpegErrors* Errors, const std::vector<uint8_t>* Data, TRgbImage* Image,
            std::vector<uint8_t>* RowBuffer)
{
    if (setjmp(Errors->Jump)) return false;
    jpeg_mem_src(Info, Data->data(), static_cast<unsigned long>(Data->size()));
    jpeg_read_header(Info, TRUE);
    const bool cmyk = Info->jpeg_color_space == JCS_CMYK || Info->jpeg_color_space == JCS_YCCK;
    Info->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    if (static_cast<unsigned long long>(Info->image_width) * Info->image_height > MaxPixels) {
        std::snprintf(Errors->Message, sizeof Errors->Message, "picture of %u x %u pixels is too large",
                      Info->image_width, Info->image_height);
        return false;
    }
    jpeg_start_decompress(Info);
    *Image = TRgbImage(static_cast<int>(Info->output_width), static_cast<int>(Info->output_height));
    RowBuffer->resize(static_cast<size_t>(Info->output_width) * 4);
    while (Info->output_scanline < Info->output_height) {
        uint8_t* target = &Image->Pixels[static_cast<size_t>(Info->output_scanline) * Info->output_width * 3];
        JSAMPROW row = cmyk ? RowBuffer->data() : target;
        jpeg_read_scanlines(Info, &row, 1);
        if (cmyk) CmykRowToRgb(RowBuffer->data(), target, static_cast<int>(Info->output_width), Info->saw_Adobe_marker);
    }
    jpeg_finish_decompress(Info);
    return true;
}

bool Encode(jpeg_compress_struct* Info, TJpegErrors* Errors, const TRgbImage* Image, int Quality,
            unsigned char** Buffer, unsigned long* Size)
{
    if (setjmp(Errors->Jump)) return false;
    jpeg_mem_dest(Info, Buffer, Size);
    Info->image_width = static_cast<JDIMENSION>(Image->Width);
    Info->image_height = static_cast<JDIMENSION>(Image->Height);
    Info->input_components = 3;
    Info->in_color_space = JCS_RGB;
    jpeg_set_defaults(Info);
    jpeg_set_quality(Info, Quality, TRUE);
    jpeg_start_compress(Info, TRUE);
    while (Info->next_scanline < Info->image_height) {
        auto* row = const_cast<JSAMPROW>(&Image->Pixels[static_cast<size_t>(Info->next_scanline) * Image->Width * 3]);
        jpeg_write_scanlines(Info, &row, 1);
    }
    jpeg_finish_compress(Info);
    return true;
}

} // namespace

TRgbImage ReadJPEG(std::istream& In, const std::string& Name)
{
    std::vector<uint8_t> data;
    try {
        data.assign(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
    } catch (const std::exception& failure) {
        // The stream's own message does not know the file's name.
        throw EImageError(Name + ": the file could not be read (" + failure.what() + ")");
    }
    if (In.bad()) throw EImageError(Name + ": the file could not be read");
    if (data.empty()) throw ECorruptImage(Name + ": the file is empty");
    jpeg_decompress_struct info{};
    TJpegErrors errors{};
    UseErrors(info.err, errors);
    jpeg_create_decompress(&info);
    TRgbImage image;
    std::vector<uint8_t> rowBuffer;
    const bool done = Decode(&info, &errors, &data, &image, &rowBuffer);
    jpeg_destroy_decompress(&info);
    if (!done) throw ECorruptImage(Name + ": " + errors.Message);
    return image;
}

TRgbImage ReadJPEGFile(const std::string& FileName)
{
    std::ifstream in(FileName, std::ios::binary);
    // A folder opens as a file on some systems and fails only when read.
    const int error = !in ? errno : std::filesystem::is_directory(FileName) ? EISDIR : 0;
    if (error != 0) throw EImageError(FileName + ": the file cannot be opened (" + std::strerror(error) + ")");
    return ReadJPEG(in, FileName);
}

void WriteJPEG(std::ostream& Out, const TRgbImage& Image, const std::string& Name, int Quality)
{
    if (Image.Width <= 0 || Image.Height <= 0 || Image.Width > JPEG_MAX_DIMENSION || Image.Height > JPEG_MAX_DIMENSION)
        throw EImageError(Name + ": a JPEG picture cannot be " + std::to_string(Image.Width) + " x " +
                          std::to_string(Image.Height) + " pixels");
    if (Image.Pixels.size() != static_cast<size_t>(Image.Width) * static_cast<size_t>(Image.Height) * 3)
        throw EImageError(Name + ": the picture's pixels do not match its size");
    jpeg_compress_struct info{};
    TJpegErrors errors{};
    UseErrors(info.err, errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool done = Encode(&info, &errors, &Image, Quality, &buffer, &size);
    jpeg_destroy_compress(&info);
    if (done) Out.write(reinterpret_cast<const char*>(buffer), static_cast<std::streamsize>(size));
    std::free(buffer);
    if (!done) throw EImageError(Name + ": " + errors.Message);
    if (!Out) throw EImageError(Name + ": the picture could not be written");
}

void WriteJPEGFile(const std::string& FileName, const TRgbImage& Image, int Quality)
{
    TAtomicFile file(FileName);
    file.Write([&](std::ostream& out) { WriteJPEG(out, Image, FileName, Quality); });
    file.Commit();
}

} // namespace verdel
