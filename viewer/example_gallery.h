// The examples gallery's content: the bundled definitions in their groups, and
// their thumbnails drawn on worker threads, the smallest files first.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/cancel.h"
#include "engine/turtle.h"
#include "render/rgb_image.h"
#include "viewer/thumbnail.h"

namespace verdel {

// One bundled definition.
struct TExample {
    std::string Path;    // the definition file
    std::string Title;   // its caption: the opening comment's name, else the file's
    std::string Summary; // the opening comment lines, joined by spaces
};

// A titled group of examples, sorted by file name.
struct TExampleGroup {
    std::string Title;
    std::vector<TExample> Examples;
};

// The groups of Folder (the bundled vdfiles/ folder, ending in "/"): "Samples",
// its *.vd files, and "The book's plants", those of its book/ folder. A group
// without files is left out; a missing folder gives no groups.
std::vector<TExampleGroup> ListExamples(const std::string& Folder);

// Caption and summary from a definition's opening comment lines: "Fern: leaves
// ..." is titled "Fern", "The book's figure 1.24a: ..." "Figure 1.24a"; without
// such a name the caption is Stem, capitalised, with blanks for underscores.
void DescribeExample(const TLines& Lines, const std::string& Stem, TExample& Example);

// How one thumbnail job ended.
struct TThumbnailResult {
    size_t Index = 0;   // in the job list
    TRgbImage Picture;  // Width x Height; the background crossed out when not drawn
    TThumbnail Outcome; // drawn or why not
};

// The random source's seed the examples are drawn and opened with, so that a
// copy opens on the model its thumbnail shows.
inline constexpr uint32_t ExampleSeed = 1;

// The look every thumbnail shares.
struct TThumbnailLook {
    int Width = 200;
    int Height = 150;
    TSolidSettings Solids;
    uint32_t Seed = ExampleSeed; // each definition's random source starts here
    bool Upright = false;        // models stood upright (StandUpright) before they are placed
};

// Draws a thumbnail of each file on Threads worker threads, the smallest files
// first, and hands each result to Done on the thread that drew it. Cancel
// stops the one being drawn and starts no other; the destructor cancels and
// waits. A file that cannot be read is a result with its message as reason.
class TThumbnailJobs {
public:
    using TDone = std::function<void(TThumbnailResult)>;

    TThumbnailJobs(std::vector<std::string> Files, const TThumbnailLook& Look, int Threads, TDone Done);
    ~TThumbnailJobs();
    TThumbnailJobs(const TThumbnailJobs&) = delete;
    TThumbnailJobs& operator=(const TThumbnailJobs&) = delete;

    void Cancel();
    // Until every job is done or given up.
    void Wait();

private:
    // One worker's loop; Shared when other workers draw beside it.
    void Work(bool Shared);
    TThumbnailResult Draw(size_t Index, TThumbnailCell& Cell) const;

    std::vector<std::string> Files;
    std::vector<size_t> Order; // job indexes, smallest file first
    TThumbnailLook Look;
    TDone Done;
    TCancelToken Stop;
    std::atomic<size_t> Next{0};
    std::vector<std::thread> Threads;
};

} // namespace verdel
