// Fuzz target: a texture file through the JPEG decoder and into a layer texture.
#include <memory>
#include <sstream>
#include <string>

#include "render/gmp.h"
#include "render/jpeg_image.h"
#include "tests/fuzz/fuzz_target.h"

using namespace verdel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    static const auto gmp = std::make_unique<TGMP>();
    std::istringstream in(std::string(reinterpret_cast<const char*>(Data), Size));
    TRgbImage image;
    try {
        image = ReadJPEG(in, "fuzz.jpg");
    } catch (const EImageError&) {
        return 0; // a corrupt picture is reported by name
    }
    gmp->SetLayerTexture(1, image);
    return 0;
}
