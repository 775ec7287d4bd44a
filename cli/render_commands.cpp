// render: one frame of a definition or model file as a BMP or JPEG picture.
#include <array>
#include <charconv>
#include <cmath>
#include <iostream>
#include <memory>
#include <numbers>

#include "app/program_folders.h"
#include "cli/cli_common.h"
#include "engine/text_number.h"
#include "render/gmp.h"
#include "render/image_files.h"
#include "viewer/view_preparation.h"

namespace verdel::cli {

namespace {

struct TRenderOptions {
    std::string Input;
    std::string Output;
    std::string Mode = "solid";
    std::string Size = "800x600";
    std::string Back = "000000";
    std::string Turn = "0,0,0";
    std::string Textures; // empty: the textures folder beside the executable
    TGenerateOptions Generate;
};

// What the option texts say, once checked.
struct TRenderRequest {
    TRenderMode Mode = rmSolidShade;
    int Width = 800;
    int Height = 600;
    TColor Back = 0;
    std::array<float, 3> TurnDegrees{};
    bool Jpeg = false;
};

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

// Checks every option; prints what is wrong and returns false.
bool ParseRequest(const TRenderOptions& Options, TRenderRequest& Request)
{
    Request.Mode = Options.Mode == "wireframe" ? rmWireframe
                   : Options.Mode == "texture" ? rmShadedTexture
                                               : rmSolidShade;
    std::string problem;
    if (!ParseSize(Options.Size, Request.Width, Request.Height))
        problem = "--size must be WIDTHxHEIGHT, width 1 to 8192 and height 1 to " + std::to_string(TGMP::MaxHeight) +
                  ": " + Options.Size;
    else if (!ParseBack(Options.Back, Request.Back))
        problem = "--back must be a colour RRGGBB in hexadecimal: " + Options.Back;
    else if (!ParseTurn(Options.Turn, Request.TurnDegrees))
        problem = "--turn must be three angles in degrees, X,Y,Z: " + Options.Turn;
    else if (EndsWithAnyCase(Options.Output, ".jpg") || EndsWithAnyCase(Options.Output, ".jpeg")) Request.Jpeg = true;
    else if (!EndsWithAnyCase(Options.Output, ".bmp"))
        problem = "the output file must end in .bmp or .jpg: " + Options.Output;
    if (problem.empty()) return true;
    std::cerr << problem << '\n';
    return false;
}

// The textures of the data folder: beside the program, or in share/verdel/ of an installed one.
std::string DefaultTexturesFolder() { return DataFolderFor(ExecutableFolder()) + "textures"; }

// Hands the twelve layer textures to the renderer. A texture that cannot be
// read is a file error, one whose content is refused a rejected input file.
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

// The viewer's placement, then the requested turn (an axis only when its angle is not 0).
void PlaceModel(TGMP& Gmp, TFaceStore& Store, const TRenderRequest& Request)
{
    Gmp.SetLightSource(ViewerLightPosition, ViewerLightTarget);
    PrepareView(Store);
    const auto& degrees = Request.TurnDegrees;
    if (degrees[0] == 0 && degrees[1] == 0 && degrees[2] == 0) return;
    const auto radians = [](float d) { return static_cast<float>(d * std::numbers::pi / 180.0); };
    Gmp.RotateScene(Store, degrees[0] != 0, degrees[1] != 0, degrees[2] != 0, radians(degrees[0]), radians(degrees[1]),
                    radians(degrees[2]));
}

int RunRender(const TRenderOptions& Options)
{
    TRenderRequest request;
    if (!ParseRequest(Options, request)) return ExitUsage;
    auto gmp = std::make_unique<TGMP>();
    gmp->Resize(request.Width, request.Height);
    int status = request.Mode == rmShadedTexture ? LoadTextures(*gmp, Options.Textures) : ExitDone;
    auto model = std::make_unique<TCliModel>();
    if (status == ExitDone) status = LoadModel(Options.Input, Options.Generate, *model);
    if (status != ExitDone) return status;

    PlaceModel(*gmp, model->Store, request);
    gmp->SetBackColor(request.Back);
    gmp->RenderMode = request.Mode;
    gmp->ClearToBackColor();
    gmp->RenderScene(model->Store);
    return WriteOutput([&] {
        if (request.Jpeg) SaveFrameJPEG(gmp->Bitmap(), Options.Output);
        else SaveFrameBMP(gmp->Bitmap(), Options.Output);
    });
}

} // namespace

void AddRenderCommands(CLI::App& App, int& ExitCode)
{
    auto options = std::make_shared<TRenderOptions>();
    CLI::App* render = App.add_subcommand("render", "Render one frame of a definition or model file as BMP or JPEG");
    render->add_option("INPUT", options->Input, ModelInputHelp)->required();
    render->add_option("-o,--output", options->Output, "Picture to write (.bmp or .jpg)")->required();
    render->add_option("--mode", options->Mode, "wireframe, solid or texture (default solid)")
        ->check(CLI::IsMember({"wireframe", "solid", "texture"}));
    render->add_option("--size", options->Size,
                       "Picture size WIDTHxHEIGHT (default 800x600, height at most " + std::to_string(TGMP::MaxHeight) +
                           ")");
    render->add_option("--back", options->Back, "Background colour RRGGBB in hexadecimal (default 000000)");
    render->add_option("--turn", options->Turn, "Turn about x, y and z in degrees after placing, X,Y,Z");
    render->add_option("--textures", options->Textures,
                       "Folder of Text01.jpg to Text12.jpg (default: textures beside the program)");
    AddGenerateOptions(render, options->Generate);
    render->callback([options, &ExitCode] { ExitCode = RunRender(*options); });
}

} // namespace verdel::cli
