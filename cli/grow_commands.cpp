// grow: numbered pictures (and an animated GIF) of a definition growing from one iteration value to another.
#include <cmath>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

#include "cli/cli_prompt.h"
#include "cli/generator_options.h"
#include "cli/render_options.h"
#include "engine/atomic_file.h"
#include "engine/definition.h"
#include "engine/growth.h"
#include "engine/text_number.h"
#include "formats/model_reader.h"
#include "render/gif_animation.h"
#include "render/image_files.h"

namespace verdel::cli {

namespace {

struct TGrowOptions {
    TRenderOptions Render; // Output is the folder of the frames
    int Frames = 0;
    std::string From = "0";
    std::string To; // empty: the definition's own value
    std::string Gif;
    int Fps = 10;
    std::string Format = "jpg"; // the frames' picture format: jpg, png or bmp
};

// The frames' answers: messages to standard error, the output-size question
// answered as --yes says without asking again for every frame.
class TFramePrompt : public TPrompt {
public:
    explicit TFramePrompt(bool answerYes) : AnswerYes(answerYes) {}
    void Message(const std::string& Text) override { std::cerr << Plain(Text) << '\n'; }
    TAnswer Confirm(const std::string& Text, bool /*WithCancel*/) override
    {
        if (!AnswerYes) std::cerr << Plain(Text) << " No (pass --yes to continue)\n";
        return AnswerYes ? TAnswer::Yes : TAnswer::No;
    }

private:
    bool AnswerYes;
};

// An iteration value from an option: a non-negative number, "." or "," as the decimal mark.
std::optional<float> ParseValue(const std::string& option, const std::string& text)
{
    try {
        const float value = ToSingle(TextToFloat(text));
        if (std::isfinite(value) && value >= 0) return value;
    } catch (const EConvertError&) {}
    std::cerr << option << " must be an iteration value of 0 or more: " << text << '\n';
    return std::nullopt;
}

// "frame0001.jpg": four digits, more when the frames need them, and the format's extension.
std::string FrameName(int number, int frames, const std::string& format)
{
    const size_t digits = std::max<size_t>(4, std::to_string(frames).size());
    const std::string count = std::to_string(number);
    std::string name = "frame";
    name.append(digits - std::min(digits, count.size()), '0');
    name += count;
    name += "." + format;
    return name;
}

// The sequence being drawn: renderer, the view placed for the last frame, and the GIF.
struct TGrowth {
    explicit TGrowth(const TGrowOptions& options) : Options(options) {}

    const TGrowOptions& Options;
    TLines Lines;
    TRenderRequest Request;
    std::unique_ptr<TGMP> Gmp = std::make_unique<TGMP>();
    std::unique_ptr<TCliModel> Model = std::make_unique<TCliModel>();
    uint32_t Seed = 0; // every frame starts the turtle's random source here
    float TranslateX = 0, TranslateY = 0, TranslateZ = 0;
    // The GIF is written under a temporary name and takes its own only when complete.
    std::unique_ptr<TAtomicFile> GifFile;
    std::unique_ptr<TGifAnimation> Gif;

    // Generates Value into the model with the source reset; the status of the generation.
    int Generate(float value, TPrompt& prompt)
    {
        RandomSource.Seed = Seed;
        Model->Generation = GenerateGrowth(Lines, value, Options.Render.Generate.Solids, prompt, Model->State,
                                           Model->Store, RandomSource);
        return ExitFor(Model->Generation.Status);
    }

    // Draws the model with the fixed view and writes frame Number.
    int Draw(int number)
    {
        TurnModel(*Gmp, Model->Store, Request);
        Model->Store.TranslateX = TranslateX;
        Model->Store.TranslateY = TranslateY;
        Model->Store.TranslateZ = TranslateZ;
        const TRgbImage picture = DrawPicture(*Gmp, Model->Store, Request);
        const std::filesystem::path file =
            std::filesystem::path(Options.Render.Output) / FrameName(number, Options.Frames, Options.Format);
        return WriteOutput([&] {
            SavePicture(picture, file.string(), Notes());
            if (Gif) GifFile->Write([&](std::ostream&) { Gif->AddFrame(picture); });
        });
    }

    // What a PNG frame records: the definition and the seed every frame starts from.
    TPictureNotes Notes() const
    {
        TPictureNotes notes;
        for (const std::string& line : Lines) notes.Definition += line + "\n";
        notes.Seed = Seed;
        return notes;
    }
};

// The final model: generated first, its view placed as the viewer places it; every frame keeps that view.
int PlaceFinalView(TGrowth& growth, float to)
{
    TCliPrompt prompt(growth.Options.Render.Generate.Yes);
    if (const int status = growth.Generate(to, prompt); status != ExitDone) return status;
    PlaceModel(*growth.Gmp, growth.Model->Store, growth.Request);
    growth.TranslateX = growth.Model->Store.TranslateX;
    growth.TranslateY = growth.Model->Store.TranslateY;
    growth.TranslateZ = growth.Model->Store.TranslateZ;
    return ExitDone;
}

int OpenGif(TGrowth& growth)
{
    if (growth.Options.Gif.empty()) return ExitDone;
    return WriteOutput([&] {
        growth.GifFile = std::make_unique<TAtomicFile>(growth.Options.Gif);
        const int delay = std::max(1, (100 + growth.Options.Fps / 2) / growth.Options.Fps);
        growth.GifFile->Write([&](std::ostream& out) {
            growth.Gif = std::make_unique<TGifAnimation>(out, growth.Request.Width, growth.Request.Height, delay,
                                                         growth.Options.Gif);
        });
    });
}

int RunGrow(const TGrowOptions& Options)
{
    TGrowth growth(Options);
    if (!ParseRenderRequest(Options.Render, growth.Request)) return ExitUsage;
    if (IsModelFile(Options.Render.Input)) {
        std::cerr << "grow needs a definition file, not a model file: " << Options.Render.Input << '\n';
        return ExitUsage;
    }
    if (!LoadDefinition(Options.Render.Input, Options.Render.Generate.Definition, growth.Lines)) return ExitUsage;
    std::string fault;
    if (!ValidateDefinition(growth.Lines, fault)) {
        std::cerr << "Please Check Input Data\n" << fault << '\n';
        return ExitInvalid;
    }
    const std::optional<float> from = ParseValue("--from", Options.From);
    const std::optional<float> to = Options.To.empty() ? IterationValue(growth.Lines) : ParseValue("--to", Options.To);
    if (!from || !to) return ExitUsage;
    if (*to < 0) {
        std::cerr << "the iteration value of " << Options.Render.Input << " is below 0: nothing grows\n";
        return ExitUsage;
    }
    if (const int status = PrepareRenderer(*growth.Gmp, growth.Request, Options.Render.Textures); status != ExitDone)
        return status;
    growth.Seed = RandomSource.Seed;
    if (const int status = PlaceFinalView(growth, *to); status != ExitDone) return status;

    std::error_code error;
    std::filesystem::create_directories(Options.Render.Output, error);
    if (error) {
        std::cerr << Options.Render.Output << ": " << error.message() << '\n';
        return ExitWrite;
    }
    if (const int status = OpenGif(growth); status != ExitDone) return status;

    TFramePrompt prompt(Options.Render.Generate.Yes);
    const std::vector<float> values = GrowthValues(*from, *to, Options.Frames);
    for (size_t k = 0; k < values.size(); ++k) {
        if (const int status = growth.Generate(values[k], prompt); status != ExitDone) {
            std::cerr << "frame " << k + 1 << " (iteration value " << FormatFloat(values[k]) << ") not drawn\n";
            return status;
        }
        if (const int status = growth.Draw(static_cast<int>(k) + 1); status != ExitDone) return status;
    }
    if (!growth.Gif) return ExitDone;
    return WriteOutput([&] {
        growth.GifFile->Write([&](std::ostream&) { growth.Gif->Finish(); });
        growth.GifFile->Commit();
    });
}

} // namespace

void AddGrowCommands(CLI::App& App, int& ExitCode)
{
    auto options = std::make_shared<TGrowOptions>();
    CLI::App* grow =
        App.add_subcommand("grow", "Pictures of a definition growing: frame0001.jpg ... and an animated GIF");
    grow->add_option("INPUT", options->Render.Input, "Definition file (.vd)")->required();
    grow->add_option("-o,--output", options->Render.Output, "Folder for the numbered frames")->required();
    grow->add_option("--format", options->Format, "Picture format of the frames: jpg, png or bmp (default jpg)")
        ->check(CLI::IsMember({"jpg", "png", "bmp"}));
    grow->add_option("--frames", options->Frames, "Number of frames, the first and last value included")
        ->required()
        ->check(CLI::Range(1, 100000));
    grow->add_option("--from", options->From, "Iteration value of the first frame (default 0)");
    grow->add_option("--to", options->To, "Iteration value of the last frame (default: the definition's)");
    grow->add_option("--gif", options->Gif, "Also write the frames as an animated GIF that loops");
    grow->add_option("--fps", options->Fps, "Frames per second of the GIF (default 10)")->check(CLI::Range(1, 100));
    AddRenderOptions(grow, options->Render);
    grow->callback([options, &ExitCode] { ExitCode = RunGrow(*options); });
}

} // namespace verdel::cli
