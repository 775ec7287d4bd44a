// The examples gallery: thumbnails of every bundled definition, drawn on both
// cores as the window draws them (targets: the first within 300 ms, all within 3 s).
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>

#include "render/worker_pool.h"
#include "viewer/example_gallery.h"

using namespace verdel;

namespace {

// All the thumbnails once per iteration; the counters give the wait for the first and for the last.
void BM_ExampleThumbnails(benchmark::State& state)
{
    std::vector<std::string> files;
    for (const TExampleGroup& group : ListExamples(VERDEL_DATA "/vdfiles/"))
        for (const TExample& example : group.Examples) files.push_back(example.Path);
    TThumbnailLook look;
    look.Upright = true;
    using TClock = std::chrono::steady_clock;
    double firstMs = 0, allMs = 0;
    for (auto _ : state) {
        const TClock::time_point start = TClock::now();
        std::atomic<int64_t> first{-1};
        {
            TThumbnailJobs jobs(files, look, TWorkerPool::MachineThreads(), [&](TThumbnailResult) {
                int64_t none = -1;
                first.compare_exchange_strong(none, (TClock::now() - start).count());
            });
            jobs.Wait();
        }
        firstMs += std::chrono::duration<double, std::milli>(TClock::duration(first.load())).count();
        allMs += std::chrono::duration<double, std::milli>(TClock::now() - start).count();
    }
    state.counters["first_ms"] = firstMs / static_cast<double>(state.iterations());
    state.counters["all_ms"] = allMs / static_cast<double>(state.iterations());
    state.counters["thumbnails"] = static_cast<double>(files.size());
}
BENCHMARK(BM_ExampleThumbnails)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

BENCHMARK_MAIN();
