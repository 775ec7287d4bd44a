// breed: the breeding gallery's picks from a seed, as a definition file and a contact sheet.
#include <iostream>
#include <memory>
#include <optional>

#include "cli/cli_prompt.h"
#include "cli/generator_options.h"
#include "cli/render_options.h"
#include "engine/definition.h"
#include "generators/breeding.h"
#include "generators/extended_mutation.h"
#include "render/image_files.h"
#include "viewer/thumbnail.h"

namespace verdel::cli {

namespace {

struct TBreedOptions {
    std::string Input;
    std::optional<uint32_t> Seed;
    std::string Picks;
    std::vector<std::string> Bars; // NAME=V
    std::string Output;
    std::string Sheet;
    std::string Size = "200x150"; // of each thumbnail
    TGenerateOptions Generate;
};

// The sheet's gap between the thumbnails and around them, and its colour.
constexpr int SheetGap = 2;
constexpr TColor SheetGapColor = 0x404040;

// The largest thumbnail: nine of them make a sheet of about 6,000 x 4,600 pixels.
constexpr int MaxCellWidth = 2048;
constexpr int MaxCellHeight = 1536;

// One thumbnail of the sheet: the definition with its own seed, each on a fresh renderer and store.
TRgbImage SheetCell(const TLines& lines, uint32_t seed, int number, const TBreedOptions& options, int width, int height)
{
    auto gmp = std::make_unique<TGMP>();
    gmp->Resize(width, height);
    auto model = std::make_unique<TCliModel>();
    RandomSource.Seed = seed;
    const TThumbnail thumbnail =
        RenderThumbnail(lines, options.Generate.Solids, *gmp, model->Store, model->State, RandomSource);
    if (!thumbnail.Reason.empty())
        std::cerr << (number == 0 ? std::string("parent") : "child " + std::to_string(number)) << ": "
                  << thumbnail.Reason << '\n';
    return FrameToImage(gmp->Bitmap());
}

// The generation on show as a 3 x 3 sheet, laid out as the gallery shows it.
int WriteSheet(const TBreedGeneration& generation, const TBreedOptions& options)
{
    int width = 0, height = 0;
    if (!ParseSize(options.Size, width, height) || width > MaxCellWidth || height > MaxCellHeight) {
        std::cerr << "--size must be WIDTHxHEIGHT, width 1 to " << MaxCellWidth << " and height 1 to " << MaxCellHeight
                  << ": " << options.Size << '\n';
        return ExitUsage;
    }
    std::vector<TRgbImage> cells;
    for (const int number : GalleryGrid) {
        const bool parent = number == 0;
        const TBreedChild* child = parent ? nullptr : &generation.Children[static_cast<size_t>(number - 1)];
        cells.push_back(SheetCell(parent ? generation.Parent : child->Text,
                                  parent ? generation.ParentSeed : child->Seed, number, options, width, height));
    }
    const TRgbImage sheet = ContactSheet(cells, 3, SheetGap, SheetGapColor);
    return WriteOutput([&] { WriteJPEGFile(options.Sheet, sheet, 90); });
}

int RunBreed(const TBreedOptions& options)
{
    TLines lines;
    if (!LoadLines(options.Input, lines)) return ExitUsage;
    if (const TValidation validation = ValidateDefinition(lines); !validation.Ok) {
        std::cerr << validation.Report("\n") << '\n';
        return ExitInvalid;
    }
    if (const std::optional<std::string> nothing = NothingToMutate(lines)) {
        std::cerr << Plain(*nothing) << '\n';
        return ExitInvalid;
    }
    TMutatorBars bars = DefaultMutatorBars();
    if (!ApplyBars(MutatorBars, options.Bars, [&](int bar, int value) { bars[static_cast<size_t>(bar)] = value; }))
        return ExitUsage;
    const std::optional<std::vector<TPick>> picks = ParsePicks(options.Picks);
    if (!picks) {
        std::cerr << "--picks must be children 1 to 8 separated by commas, a crossover as 1+5: " << options.Picks
                  << '\n';
        return ExitUsage;
    }
    const uint32_t seed = options.Seed.value_or(SeedFromTimeOfDay());
    TBreedingGallery gallery(lines, seed, bars);
    for (const TPick& pick : *picks) gallery.Pick(pick.Child, pick.Second);
    std::cerr << gallery.LineageText() << '\n';
    for (int i = 1; i <= BreedChildCount; ++i)
        if (const std::string& fault = gallery.Current().Children[static_cast<size_t>(i - 1)].Fault; !fault.empty())
            std::cerr << "child " << i << ": " << Plain(fault) << '\n';
    if (const int status = WriteText(gallery.Current().Parent, options.Output); status != ExitDone) return status;
    return options.Sheet.empty() ? ExitDone : WriteSheet(gallery.Current(), options);
}

} // namespace

void AddBreedCommands(CLI::App& App, int& ExitCode)
{
    auto options = std::make_shared<TBreedOptions>();
    CLI::App* breed =
        App.add_subcommand("breed", "The breeding gallery's definition after a series of picks, and its contact sheet");
    breed->add_option("FILE", options->Input, "Definition file (.vd) the gallery starts from")->required();
    breed->add_option("--seed", options->Seed, "Gallery seed (default: the time of day)");
    breed->add_option("--picks", options->Picks, "Children picked in turn, e.g. 3,1,8; 1+5 crosses child 1 with 5");
    breed->add_option("--bar", options->Bars, "Mutator bar position NAME=V (" + BarNames(MutatorBars) + ")")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    breed->add_option("-o,--output", options->Output,
                      "Write the chosen definition to this file (CR LF) instead of standard output");
    breed->add_option("--sheet", options->Sheet, "Write the last generation as a 3 x 3 contact sheet (.jpg)");
    breed->add_option("--size", options->Size,
                      "Size of each thumbnail of the sheet WIDTHxHEIGHT (default 200x150, at most " +
                          std::to_string(MaxCellWidth) + "x" + std::to_string(MaxCellHeight) + ")");
    AddGenerateOptions(breed, options->Generate, false);
    breed->callback([options, &ExitCode] { ExitCode = RunBreed(*options); });
}

} // namespace verdel::cli
