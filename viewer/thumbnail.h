// Thumbnails: a definition's model drawn small, placed to fill its picture,
// and contact sheets of several of them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/cancel.h"
#include "engine/generation.h"
#include "render/gmp.h"
#include "render/rgb_image.h"

namespace verdel {

// How one thumbnail came out.
struct TThumbnail {
    bool Drawn = false;  // the model was generated and drawn
    std::string Reason;  // why it was not (the generation's message), or a note such as the table's limit
    int ObjectCount = 0; // objects of the model drawn
};

// What a thumbnail may do besides the usual: stop when Cancel is called,
// stand the model upright (StandUpright) before placing it.
struct TThumbnailOptions {
    const TCancelToken* Cancel = nullptr;
    bool Upright = false;
};

// What one thumbnail keeps between its pictures: its own renderer, model and
// definition state, so that several thumbnails can be drawn at once on
// different threads.
struct TThumbnailCell {
    std::unique_ptr<TGMP> Gmp = std::make_unique<TGMP>();
    std::unique_ptr<TFaceStore> Store = std::make_unique<TFaceStore>();
    std::unique_ptr<TDefinitionState> State = std::make_unique<TDefinitionState>();

    explicit TThumbnailCell(int Width = 200, int Height = 150) { Gmp->Resize(Width, Height); }

    // RenderThumbnail of Lines with a random source seeded Seed.
    TThumbnail Render(const TLines& Lines, const TSolidSettings& Settings, uint32_t Seed,
                      const TThumbnailOptions& Options = {});
};

// Places Store's model to fill a Width x Height picture: the middle of its
// bounding box on the view axis (as the viewer centres it), and the box as
// near the eye as keeps each of its corners inside Fill of the picture's
// half width and half height. Writes only the store's translation.
void PlaceToFill(TFaceStore& Store, int Width, int Height, float Fill = 0.9f);

// Generates Lines (the output-size question answered Yes) into Store with
// Random as the caller seeded it, places the model to fill Gmp's buffer and
// draws it solid shaded with the viewer's light on Gmp's background. When the
// generation fails the buffer shows the background crossed out in red and the
// result carries the reason, lines ended by LF.
TThumbnail RenderThumbnail(const TLines& Lines, const TSolidSettings& Settings, TGMP& Gmp, TFaceStore& Store,
                           TDefinitionState& State, TRandomSource& Random, const TThumbnailOptions& Options = {});

// Pictures of equal size side by side, Columns to a row (a short last row is
// filled with Gap colour), Gap pixels of GapColor (0x00BBGGRR) between and around them.
TRgbImage ContactSheet(const std::vector<TRgbImage>& Cells, int Columns, int Gap, TColor GapColor);

} // namespace verdel
