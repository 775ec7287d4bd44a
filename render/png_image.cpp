#include "render/png_image.h"

#include <csetjmp>
#include <cstdio>
#include <new>
#include <ostream>
#include <vector>

#include <png.h>

namespace verdel {

namespace {

// What libpng's callbacks work with: the bytes written so far and the
// message of an error, after which control jumps back to Encode.
struct TPngState {
    std::string* Bytes;
    char Message[200];
};

extern "C" void KeepErrorAndJump(png_structp Png, png_const_charp Message)
{
    auto* state = static_cast<TPngState*>(png_get_error_ptr(Png));
    std::snprintf(state->Message, sizeof state->Message, "%s", Message);
    png_longjmp(Png, 1);
}

extern "C" void IgnoreWarning(png_structp, png_const_charp) {}

extern "C" void AppendBytes(png_structp Png, png_bytep Data, png_size_t Length)
{
    auto* state = static_cast<TPngState*>(png_get_io_ptr(Png));
    bool full = false;
    try {
        state->Bytes->append(reinterpret_cast<const char*>(Data), Length);
    } catch (const std::bad_alloc&) {
        full = true;
    }
    if (full) png_error(Png, "out of memory");
}

extern "C" void FlushNothing(png_structp) {}

// The text chunks of Notes, pointing into Notes and Seed (the seed's text).
std::vector<png_text> TextChunks(const TPictureNotes& notes, const std::string& seed)
{
    std::vector<png_text> chunks;
    const auto add = [&](const char* key, const std::string& text) {
        png_text& chunk = chunks.emplace_back();
        chunk.compression = PNG_TEXT_COMPRESSION_NONE;
        chunk.key = const_cast<char*>(key);
        chunk.text = const_cast<char*>(text.c_str());
        chunk.text_length = text.size();
    };
    add("Software", notes.Software);
    if (!notes.Definition.empty()) add("Definition", notes.Definition);
    if (notes.Seed) add("Seed", seed);
    return chunks;
}

// The encoding itself. Only plain data and pointers live in this frame, so
// the jump from libpng skips no destructor; false means State holds the message.
bool Encode(png_structp png, png_infop info, TPngState* state, const TRgbImage* image, png_text* chunks, int count)
{
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, state, AppendBytes, FlushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image->Width), static_cast<png_uint_32>(image->Height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Frames are mostly runs of one colour: the "up" filter and zlib's
    // fastest level keep them small at a small fraction of the default time.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_compression_level(png, 1);
    png_set_text(png, info, chunks, count);
    png_write_info(png, info);
    for (int y = 0; y < image->Height; ++y)
        png_write_row(png, &image->Pixels[static_cast<size_t>(y) * static_cast<size_t>(image->Width) * 3]);
    png_write_end(png, info);
    return true;
}

} // namespace

void WritePNG(std::ostream& Out, const TRgbImage& Image, const TPictureNotes& Notes, const std::string& Name)
{
    if (Image.Width <= 0 || Image.Height <= 0 || Image.Width > PNG_USER_WIDTH_MAX || Image.Height > PNG_USER_HEIGHT_MAX)
        throw EImageError(Name + ": a PNG picture cannot be " + std::to_string(Image.Width) + " x " +
                          std::to_string(Image.Height) + " pixels");
    if (Image.Pixels.size() != static_cast<size_t>(Image.Width) * static_cast<size_t>(Image.Height) * 3)
        throw EImageError(Name + ": the picture's pixels do not match its size");
    const std::string seed = Notes.Seed ? std::to_string(*Notes.Seed) : "";
    std::vector<png_text> chunks = TextChunks(Notes, seed);
    std::string bytes;
    TPngState state{&bytes, "unknown PNG error"};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, KeepErrorAndJump, IgnoreWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        throw EImageError(Name + ": the PNG encoder could not be started");
    }
    const bool done = Encode(png, info, &state, &Image, chunks.data(), static_cast<int>(chunks.size()));
    png_destroy_write_struct(&png, &info);
    if (!done) throw EImageError(Name + ": " + state.Message);
    Out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!Out) throw EImageError(Name + ": the picture could not be written");
}

} // namespace verdel
