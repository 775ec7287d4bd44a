// verdel-make-data: writes the default layer textures and the navigation outline.
//   verdel-make-data [FOLDER]   (default: the current folder)
// makes FOLDER/textures/Text01.jpg to Text12.jpg and FOLDER/outline.dxf.
#include <filesystem>
#include <iostream>
#include <memory>

#include "engine/mesh_builder.h"
#include "formats/dxf_writer.h"
#include "render/image_files.h"
#include "tools/default_textures.h"

using namespace verdel;

namespace {

// One polyface mesh with six faces: the unit box on the red layer, whose
// faces the viewer overwrites with the model's bounding box.
void WriteOutline(const std::filesystem::path& File)
{
    auto store = std::make_unique<TFaceStore>();
    TMeshBuilder builder(*store);
    builder.Reset();
    const TVector corners[8] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
    for (int i = 0; i < 8; ++i) builder.MeshVertex(i + 1) = corners[i];
    const uint16_t faces[6][4] = {{2, 3, 7, 6}, {1, 2, 6, 5}, {1, 5, 8, 4}, {4, 8, 7, 3}, {1, 4, 3, 2}, {5, 6, 7, 8}};
    for (int f = 0; f < 6; ++f) builder.MeshFace(f + 1) = {faces[f][0], faces[f][1], faces[f][2], faces[f][3]};
    builder.AddMesh(8, 6, 7);
    WriteDXFFile(*store, File.string(), "dxf");
}

} // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path folder = argc > 1 ? argv[1] : ".";
    try {
        std::filesystem::create_directories(folder / "textures");
        for (int layer = 1; layer <= LayerCount; ++layer) {
            const std::filesystem::path file = folder / "textures" / LayerTextureFileName(layer);
            WriteJPEGFile(file.string(), tools::PaintLayerTexture(layer), 90);
            std::cout << file.string() << '\n';
        }
        WriteOutline(folder / "outline.dxf");
        std::cout << (folder / "outline.dxf").string() << '\n';
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
