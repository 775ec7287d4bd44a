// What every mesh file records besides the geometry: the notes (program,
// seed, definition) and one material per used layer.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/face_store.h"

namespace verdel {

// What an exported file records besides the geometry, where the layer
// textures come from, and how the geometry is laid out.
struct TExportInfo {
    std::string Definition;                                  // the definition text of the model; empty for a file
    std::optional<uint32_t> Seed;                            // the random source's seed when the generation began
    std::string TexturesFolder;                              // holds Text01.jpg to Text12.jpg; empty: no textures
    std::array<std::string, LayerCount + 1> LayerTextures{}; // a picture chosen for layer k; empty: the default
    std::string ProgramName = "Verdel";
    bool NodePerObject = false; // glTF: a node and mesh per object rather than per layer
    bool SmoothNormals = false; // vertex normals smooth round tubes and cones (glTF, OBJ, PLY; see AssignNormals)
};

// The material of one used layer, named after its colour, with the picture it shows.
struct TLayerMaterial {
    int Layer = 0;
    std::string Texture;  // the picture's file name beside the mesh file; empty: the colour alone
    std::string Picture;  // the picture's bytes, for a file that carries it inside
    std::string MimeType; // "image/jpeg" or "image/png", for a file that carries it inside
};

// The note a file carries as comment lines: "Made by <program>", then
// "Seed: <n>" when there is a seed, then "Definition:" and the definition's
// lines when there is one.
std::vector<std::string> NoteLines(const TExportInfo& Info);

// The layers of the objects that have faces, in ascending order.
std::vector<int> UsedLayers(const TFaceStore& Store);

// The material name of a layer: its colour's name ("green"), or "layer<k>"
// for a number outside 1..12.
std::string MaterialName(int Layer);

// A layer's colour as red, green and blue from 0 to 1.
std::array<float, 3> LayerRGB(int Layer);

// Text as UTF-8: valid UTF-8 sequences are kept, any other byte is read as Latin-1.
std::string Utf8Text(std::string_view Text);

} // namespace verdel
