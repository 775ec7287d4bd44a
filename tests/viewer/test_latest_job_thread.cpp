// The breeding gallery's thumbnails drawn at once, each on a latest-job
// thread of its own with a renderer of its own.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "engine/text_lines.h"
#include "viewer/latest_job_thread.h"
#include "viewer/thumbnail.h"

using namespace verdel;

TEST(TLatestJobThread, ThumbnailsDrawnAtOnceMatchThoseDrawnOneByOne)
{
    const TLines samples[] = {ReadLinesFromFile(VERDEL_DATA "/vdfiles/bush.vd"),
                              ReadLinesFromFile(VERDEL_DATA "/vdfiles/random_bush.vd")};
    constexpr int Cells = 4;
    std::vector<std::unique_ptr<TThumbnailCell>> cells;
    std::vector<std::unique_ptr<TLatestJobThread>> threads;
    for (int i = 0; i < Cells; ++i) {
        cells.push_back(std::make_unique<TThumbnailCell>(120, 90));
        threads.push_back(std::make_unique<TLatestJobThread>());
    }
    for (int i = 0; i < Cells; ++i)
        threads[i]->Post([&cells, &samples, i] { cells[i]->Render(samples[i % 2], {}, 100 + i); });
    for (const auto& thread : threads) thread->WaitIdle();
    for (int i = 0; i < Cells; ++i) {
        SCOPED_TRACE(i);
        TThumbnailCell alone(120, 90);
        ASSERT_TRUE(alone.Render(samples[i % 2], {}, 100 + i).Drawn);
        const TDIB16bit& a = cells[i]->Gmp->Bitmap();
        const TDIB16bit& b = alone.Gmp->Bitmap();
        EXPECT_EQ(std::memcmp(a.Bits(), b.Bits(), static_cast<size_t>(a.Stride()) * a.Height()), 0);
    }
}
