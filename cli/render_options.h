// The render options that render and grow share: checking them, textures and placing the model.
#pragma once

#include <array>
#include <string>

#include "cli/cli_common.h"
#include "render/gmp.h"
#include "render/image_files.h"

namespace verdel::cli {

// The option texts as typed.
struct TRenderOptions {
    std::string Input;
    std::string Output;
    std::string Mode = "solid";
    std::string Size = "800x600";
    std::string Back = "000000";
    std::string Turn = "0,0,0";
    int Antialias = 1;    // the frame drawn this many times larger in each direction, then averaged down
    bool Fit = false;     // the model brought to fill the picture (render only)
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
    int Antialias = 1;
};

// Adds --mode, --size, --back, --turn, --antialias, --textures and the generation options to a subcommand.
void AddRenderOptions(CLI::App* Command, TRenderOptions& Options);

// Checks mode, size, background and turn; prints what is wrong and returns false.
bool ParseRenderRequest(const TRenderOptions& Options, TRenderRequest& Request);

// A whole number from text, nothing else in it.
bool ParseInt(const std::string& Text, int& Value);

// WIDTHxHEIGHT, width 1 to 8192 and height 1 to the renderer's limit.
bool ParseSize(const std::string& Text, int& Width, int& Height);

// Hands the twelve layer textures to the renderer (the data folder's when
// Folder is empty). A texture that cannot be read is a file error
// (ExitUsage), one whose content is refused a rejected input file
// (ExitRejected); the message is printed. ExitDone otherwise.
int LoadTextures(TGMP& Gmp, const std::string& Folder);

// Readies Gmp for the request: buffer size, textures when needed, background
// and mode. Returns ExitDone or LoadTextures' status.
int PrepareRenderer(TGMP& Gmp, const TRenderRequest& Request, const std::string& Textures);

// The viewer's placement, then the requested turn.
void PlaceModel(TGMP& Gmp, TFaceStore& Store, const TRenderRequest& Request);

// The margin --fit leaves around the model: a thirtieth of the picture's smaller side, at least 2 pixels.
int FitMargin(int Width, int Height);

// Brings the placed and turned model as near as fills the request's picture
// but for FitMargin on each side (the nearest corners touch it); the model's
// middle on the view axis.
void FitModel(TFaceStore& Store, const TRenderRequest& Request);

// The requested turn alone (an axis only when its angle is not 0).
void TurnModel(TGMP& Gmp, TFaceStore& Store, const TRenderRequest& Request);

// Draws the placed model as the request's picture: one frame, or with
// Antialias above 1 a larger frame averaged down (RenderSupersampled).
TRgbImage DrawPicture(TGMP& Gmp, TFaceStore& Store, const TRenderRequest& Request);

} // namespace verdel::cli
