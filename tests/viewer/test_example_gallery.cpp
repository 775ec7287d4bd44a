// The examples gallery's listing and its thumbnail jobs, drawn on threads side by side.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <mutex>
#include <set>

#include "engine/text_lines.h"
#include "render/image_files.h"
#include "viewer/example_gallery.h"

using namespace verdel;
namespace fs = std::filesystem;

namespace {

const std::string Bundled = std::string(VERDEL_DATA) + "/vdfiles/";

} // namespace

TEST(ExampleGallery, EveryBundledDefinitionAppearsOnceAndTheBookGroupHoldsTheBooks)
{
    std::multiset<fs::path> onDisk, listed;
    for (const auto& entry : fs::recursive_directory_iterator(Bundled))
        if (entry.path().extension() == ".vd") onDisk.insert(fs::canonical(entry.path()));
    const std::vector<TExampleGroup> groups = ListExamples(Bundled);
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].Title, "Samples");
    EXPECT_EQ(groups[1].Title, "The book's plants");
    for (const TExampleGroup& group : groups)
        for (const TExample& example : group.Examples) {
            SCOPED_TRACE(example.Path);
            const fs::path path = fs::canonical(example.Path);
            listed.insert(path);
            EXPECT_EQ(&group == &groups[1], path.parent_path().filename() == "book");
            EXPECT_FALSE(example.Title.empty());
            EXPECT_FALSE(example.Summary.empty()); // every bundled file says what it draws
        }
    EXPECT_EQ(listed, onDisk);
    EXPECT_FALSE(groups[1].Examples.empty());
}

TEST(ExampleGallery, ThumbnailJobsAnswerEveryFileOnceAndNameOneThatCannotBeRead)
{
    const std::vector<std::string> files = {Bundled + "koch.vd", Bundled + "no such file.vd", Bundled + "bush.vd",
                                            Bundled + "book/plant_1_24a.vd", Bundled + "spiral.vd"};
    TThumbnailLook look;
    look.Width = 64;
    look.Height = 48;
    look.Upright = true;
    std::mutex lock;
    std::vector<TThumbnailResult> results;
    TThumbnailJobs jobs(files, look, 3, [&](TThumbnailResult result) {
        const std::lock_guard guard(lock);
        results.push_back(std::move(result));
    });
    jobs.Wait();
    ASSERT_EQ(results.size(), files.size());
    std::sort(results.begin(), results.end(), [](const auto& a, const auto& b) { return a.Index < b.Index; });
    for (size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(files[i]);
        EXPECT_EQ(results[i].Index, i);
        EXPECT_EQ(results[i].Picture.Width, 64);
        EXPECT_EQ(results[i].Picture.Height, 48);
        EXPECT_EQ(results[i].Outcome.Drawn, i != 1);
        EXPECT_EQ(results[i].Outcome.Reason.find("no such file.vd") != std::string::npos, i == 1);
        if (i == 1) continue;
        // Drawn beside others by a cell that drew others before: as a fresh cell draws it alone.
        TThumbnailCell alone(64, 48);
        alone.Render(ReadLinesFromFile(files[i]), {}, ExampleSeed, {nullptr, true});
        EXPECT_EQ(results[i].Picture.Pixels, FrameToImage(alone.Gmp->Bitmap()).Pixels);
    }
    // Cancelled at once: the workers stop before the end.
    std::atomic<int> answered = 0;
    TThumbnailJobs cancelled(std::vector<std::string>(20, Bundled + "tree.vd"), look, 2,
                             [&](TThumbnailResult) { ++answered; });
    cancelled.Cancel();
    cancelled.Wait();
    EXPECT_LT(answered, 20);
}
