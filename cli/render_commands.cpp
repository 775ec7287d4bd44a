// render: one frame of a definition or model file as a BMP, JPEG or PNG picture.
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <iostream>
#include <memory>
#include <numbers>
#include <optional>

#include "app/program_folders.h"
#include "cli/render_options.h"
#include "engine/random_source.h"
#include "engine/text_number.h"
#include "formats/model_reader.h"
#include "render/image_files.h"
#include "render/supersampling.h"
#include "viewer/fit_view.h"
#include "viewer/save_kinds.h"
#include "viewer/view_preparation.h"

namespace verdel::cli {

bool ParseInt(const std::string& Text, int& Value)
{
    const char* end = Text.data() + Text.size();
    const auto result = std::from_chars(Text.data(), end, Value);
    return result.ec == std::errc() && result.ptr == end;
}

bool ParseSize(const std::string& Text, int& Width, int& Height)
{
    const size_t x = Text.find_first_of("xX");
    if (x == std::string::npos) return false;
    return ParseInt(Text.substr(0, x), Width) && ParseInt(Text.substr(x + 1), Height) && Width >= 1 && Width <= 8192 &&
           Height >= 1 && Height <= TGMP::MaxHeight;
}

namespace {

// RRGGBB (as in HTML, an optional "#" before it) to a colour value 0x00BBGGRR.
bool ParseBack(std::string Text, TColor& Color)
{
    if (!Text.empty() && Text[0] == '#') Text.erase(0, 1);
    unsigned value = 0;
    const char* end = Text.data() + Text.size();
    const auto result = std::from_chars(Text.data(), end, value, 16);
    if (Text.size() != 6 || result.ec != std::errc() || result.ptr != end) return false;
    Color = ((value >> 16) & 0xFF) | (value & 0xFF00) | ((value & 0xFF) << 16);
    return true;
}

bool ParseTurn(const std::string& Text, std::array<float, 3>& Degrees)
{
    size_t start = 0;
    for (int axis = 0; axis < 3; ++axis) {
        const size_t comma = Text.find(',', start);
        if ((axis < 2) == (comma == std::string::npos)) return false;
        try {
            Degrees[axis] = ToSingle(TextToFloat(Text.substr(start, comma - start)));
        } catch (const EConvertError&) {
            return false;
        }
        if (!std::isfinite(Degrees[axis])) return false;
        start = comma + 1;
    }
    return true;
}

} // namespace

bool ParseRenderRequest(const TRenderOptions& Options, TRenderRequest& Request)
{
    Request.Mode = Options.Mode == "wireframe" ? rmWireframe
                   : Options.Mode == "texture" ? rmShadedTexture
                                               : rmSolidShade;
    Request.Antialias = Options.Antialias;
    std::string problem;
    if (!ParseSize(Options.Size, Request.Width, Request.Height))
        problem = "--size must be WIDTHxHEIGHT, width 1 to 8192 and height 1 to " + std::to_string(TGMP::MaxHeight) +
                  ": " + Options.Size;
    else if (!ParseBack(Options.Back, Request.Back))
        problem = "--back must be a colour RRGGBB in hexadecimal: " + Options.Back;
    else if (!ParseTurn(Options.Turn, Request.TurnDegrees))
        problem = "--turn must be three angles in degrees, X,Y,Z: " + Options.Turn;
    if (problem.empty()) return true;
    std::cerr << problem << '\n';
    return false;
}

namespace {

// The render options, then the picture's name: .bmp, .jpg (.jpeg) or .png, the picture kinds of the viewer's
// Save As, written as it writes them.
bool ParseRequest(const TRenderOptions& Options, TRenderRequest& Request)
{
    if (!ParseRenderRequest(Options, Request)) return false;
    const std::optional<TSaveKind> kind = SaveKindOfName(Options.Output);
    if (!kind || !IsPictureKind(*kind)) {
        std::cerr << "the output file must end in .bmp, .jpg or .png: " << Options.Output << '\n';
        return false;
    }
    return true;
}

// What a PNG of Input records: its definition, and the seed the generation started from.
TPictureNotes PictureNotes(const std::string& Input, uint32_t Seed)
{
    TPictureNotes notes;
    TLines lines;
    if (IsModelFile(Input) || !LoadLines(Input, lines)) return notes;
    for (const std::string& line : lines) notes.Definition += line + "\n";
    notes.Seed = Seed;
    return notes;
}

// The textures of the data folder: beside the program, or in share/verdel/ of an installed one.
std::string DefaultTexturesFolder() { return DataFolderFor(ExecutableFolder()) + "textures"; }

} // namespace

int LoadTextures(TGMP& Gmp, const std::string& Folder)
{
    try {
        const auto images = LoadLayerImages(Folder.empty() ? DefaultTexturesFolder() : Folder);
        for (int layer = 1; layer <= LayerCount; ++layer) Gmp.SetLayerTexture(layer, images[layer - 1]);
        return ExitDone;
    } catch (const ECorruptImage& error) {
        std::cerr << error.what() << '\n';
        return ExitRejected;
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return ExitUsage;
    }
}

int PrepareRenderer(TGMP& Gmp, const TRenderRequest& Request, const std::string& Textures)
{
    Gmp.Resize(Request.Width, Request.Height);
    if (Request.Mode == rmShadedTexture) {
        if (const int status = LoadTextures(Gmp, Textures); status != ExitDone) return status;
    }
    Gmp.SetBackColor(Request.Back);
    Gmp.RenderMode = Request.Mode;
    return ExitDone;
}

void PlaceModel(TGMP& Gmp, TFaceStore& Store, const TRenderRequest& Request)
{
    PrepareView(Gmp, Store);
    TurnModel(Gmp, Store, Request);
}

void TurnModel(TGMP& Gmp, TFaceStore& Store, const TRenderRequest& Request)
{
    const auto& degrees = Request.TurnDegrees;
    if (degrees[0] == 0 && degrees[1] == 0 && degrees[2] == 0) return;
    const auto radians = [](float d) { return static_cast<float>(d * std::numbers::pi / 180.0); };
    Gmp.RotateScene(Store, degrees[0] != 0, degrees[1] != 0, degrees[2] != 0, radians(degrees[0]), radians(degrees[1]),
                    radians(degrees[2]));
}

int FitMargin(int Width, int Height) { return std::max(2, std::min(Width, Height) / 30); }

void FitModel(TFaceStore& Store, const TRenderRequest& Request)
{
    const std::optional<TFitPlacement> place = FillPlacement(Store, Request.Width, Request.Height, TGMP::FocalLength,
                                                             FitMargin(Request.Width, Request.Height));
    if (!place) return; // nothing to draw: the viewer's placement stays
    Store.TranslateX = place->X;
    Store.TranslateY = place->Y;
    Store.TranslateZ = place->Z;
}

TRgbImage DrawPicture(TGMP& Gmp, TFaceStore& Store, const TRenderRequest& Request)
{
    if (Request.Antialias > 1) return RenderSupersampled(Gmp, Store, Request.Width, Request.Height, Request.Antialias);
    Gmp.ClearToBackColor();
    Gmp.RenderScene(Store);
    return FrameToImage(Gmp.Bitmap());
}

void AddRenderOptions(CLI::App* Command, TRenderOptions& Options)
{
    Command->add_option("--mode", Options.Mode, "wireframe, solid or texture (default solid)")
        ->check(CLI::IsMember({"wireframe", "solid", "texture"}));
    Command->add_option("--size", Options.Size,
                        "Picture size WIDTHxHEIGHT (default 800x600, height at most " +
                            std::to_string(TGMP::MaxHeight) + ")");
    Command->add_option("--back", Options.Back, "Background colour RRGGBB in hexadecimal (default 000000)");
    Command->add_option("--turn", Options.Turn, "Turn about x, y and z in degrees after placing, X,Y,Z");
    Command->add_option("--antialias", Options.Antialias,
                        "Smooth edges: draw N x N times larger and average down (1 to " +
                            std::to_string(MaxSupersampling) + ", default 1)")
        ->check(CLI::Range(1, MaxSupersampling));
    Command->add_option("--textures", Options.Textures,
                        "Folder of Text01.jpg to Text12.jpg (default: textures beside the program)");
    AddGenerateOptions(Command, Options.Generate);
}

namespace {

int RunRender(const TRenderOptions& Options)
{
    TRenderRequest request;
    if (!ParseRequest(Options, request)) return ExitUsage;
    auto gmp = std::make_unique<TGMP>();
    int status = PrepareRenderer(*gmp, request, Options.Textures);
    auto model = std::make_unique<TCliModel>();
    const uint32_t seed = RandomSource.Seed;
    if (status == ExitDone) status = LoadModel(Options.Input, Options.Generate, *model);
    if (status != ExitDone) return status;

    PlaceModel(*gmp, model->Store, request);
    if (Options.Fit) FitModel(model->Store, request);
    const TRgbImage picture = DrawPicture(*gmp, model->Store, request);
    return WriteOutput([&] { SavePicture(picture, Options.Output, PictureNotes(Options.Input, seed)); });
}

} // namespace

void AddRenderCommands(CLI::App& App, int& ExitCode)
{
    auto options = std::make_shared<TRenderOptions>();
    CLI::App* render =
        App.add_subcommand("render", "Render one frame of a definition or model file as BMP, JPEG or PNG");
    render->add_option("INPUT", options->Input, ModelInputHelp)->required();
    render->add_option("-o,--output", options->Output, "Picture to write (.bmp, .jpg or .png)")->required();
    AddRenderOptions(render, *options);
    render->add_flag("--fit", options->Fit, "Bring the model near enough to fill the picture, with a small margin");
    render->callback([options, &ExitCode] { ExitCode = RunRender(*options); });
}

} // namespace verdel::cli
