#include "viewer/thumbnail.h"

#include <algorithm>
#include <cmath>

#include "engine/text_number.h"
#include "viewer/upright.h"
#include "viewer/view_preparation.h"

namespace verdel {

namespace {

// The thumbnail's answers: Yes to the output-size question (nobody is there to
// ask), every message kept as the cell's reason.
class TThumbnailPrompt : public TPrompt {
public:
    void Message(const std::string& Text) override
    {
        if (!Said.empty()) Said += '\n';
        for (size_t i = 0; i < Text.size(); ++i)
            if (!(Text[i] == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n')) Said += Text[i];
    }
    TAnswer Confirm(const std::string& /*Text*/, bool /*WithCancel*/) override { return TAnswer::Yes; }

    std::string Said;
};

// A red cross over the whole buffer: the cell's model could not be drawn.
void CrossOut(TGMP& gmp)
{
    TCanvas& canvas = gmp.Canvas();
    canvas.PenColor = 0x0000A0;
    const int w = gmp.Width() - 1, h = gmp.Height() - 1;
    canvas.MoveTo(0, 0);
    canvas.LineTo(w, h);
    canvas.MoveTo(w, 0);
    canvas.LineTo(0, h);
}

} // namespace

void PlaceToFill(TFaceStore& Store, int Width, int Height, float Fill)
{
    const long double centreX = (static_cast<long double>(Store.MaxX) + Store.MinX) / 2;
    const long double centreY = (static_cast<long double>(Store.MaxY) + Store.MinY) / 2;
    Store.TranslateX = ToSingle(-centreX);
    Store.TranslateY = ToSingle(-centreY);

    // A corner (x, y, z) projects inside when F |x| / (D - z) <= Fill x W / 2, so
    // the distance D must reach z + F |x| / (Fill x W / 2), and likewise for y.
    const long double halfWidth = std::max(1.0L, static_cast<long double>(Fill) * Width / 2);
    const long double halfHeight = std::max(1.0L, static_cast<long double>(Fill) * Height / 2);
    const long double size =
        std::max({Store.MaxX - Store.MinX, Store.MaxY - Store.MinY, Store.MaxZ - Store.MinZ, 1.0f});
    // The nearest face stays in front of the eye, however flat the model.
    long double distance = Store.MaxZ + size / 100;
    for (const float x : {Store.MinX, Store.MaxX})
        for (const float y : {Store.MinY, Store.MaxY})
            for (const float z : {Store.MinZ, Store.MaxZ}) {
                const long double across = std::fabs(x + static_cast<long double>(Store.TranslateX)) / halfWidth;
                const long double up = std::fabs(y + static_cast<long double>(Store.TranslateY)) / halfHeight;
                distance = std::max(distance, z + TGMP::FocalLength * std::max(across, up));
            }
    Store.TranslateZ = ToSingle(-distance);
}

TThumbnail RenderThumbnail(const TLines& Lines, const TSolidSettings& Settings, TGMP& Gmp, TFaceStore& Store,
                           TDefinitionState& State, TRandomSource& Random, const TThumbnailOptions& Options)
{
    TThumbnailPrompt prompt;
    const TCancelToken never;
    const TGenerationResult result =
        GenerateModel(Lines, Settings, prompt, State, Store, Random, Options.Cancel ? *Options.Cancel : never);
    TThumbnail thumbnail;
    thumbnail.Reason = prompt.Said;
    Gmp.ClearToBackColor();
    if (result.Status != TGenerationStatus::Done) {
        FreeScene(Store);
        CrossOut(Gmp);
        return thumbnail;
    }
    thumbnail.Drawn = true;
    thumbnail.ObjectCount = result.ObjectCount;
    UseViewerLight(Gmp);
    if (Options.Upright && StandUpright(Store) != 0) ComputeBounds(Store);
    PlaceToFill(Store, Gmp.Width(), Gmp.Height());
    Gmp.RenderMode = rmSolidShade;
    Gmp.RenderScene(Store);
    return thumbnail;
}

TThumbnail TThumbnailCell::Render(const TLines& Lines, const TSolidSettings& Settings, uint32_t Seed,
                                  const TThumbnailOptions& Options)
{
    TRandomSource random;
    random.Seed = Seed;
    return RenderThumbnail(Lines, Settings, *Gmp, *Store, *State, random, Options);
}

TRgbImage ContactSheet(const std::vector<TRgbImage>& Cells, int Columns, int Gap, TColor GapColor)
{
    if (Cells.empty() || Columns < 1) return {};
    const int cellWidth = Cells[0].Width, cellHeight = Cells[0].Height;
    const int rows = (static_cast<int>(Cells.size()) + Columns - 1) / Columns;
    TRgbImage sheet(Columns * (cellWidth + Gap) + Gap, rows * (cellHeight + Gap) + Gap);
    const uint8_t red = GapColor & 0xFF, green = (GapColor >> 8) & 0xFF, blue = (GapColor >> 16) & 0xFF;
    for (int y = 0; y < sheet.Height; ++y)
        for (int x = 0; x < sheet.Width; ++x) sheet.SetPixel(x, y, red, green, blue);
    for (size_t i = 0; i < Cells.size(); ++i) {
        const TRgbImage& cell = Cells[i];
        const int left = Gap + static_cast<int>(i) % Columns * (cellWidth + Gap);
        const int top = Gap + static_cast<int>(i) / Columns * (cellHeight + Gap);
        for (int y = 0; y < std::min(cell.Height, cellHeight); ++y)
            std::copy_n(&cell.Pixels[static_cast<size_t>(y) * cell.Width * 3], std::min(cell.Width, cellWidth) * 3,
                        &sheet.Pixels[(static_cast<size_t>(top + y) * sheet.Width + left) * 3]);
    }
    return sheet;
}

} // namespace verdel
