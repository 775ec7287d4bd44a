// Writing and reading the DXF file of the bundled 30,000-tube forest.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>

#include "bench/bench_support.h"
#include "engine/generation.h"
#include "formats/dxf_reader.h"
#include "formats/dxf_writer.h"

using namespace verdel;

namespace {

const std::string ForestDxf = "/tmp/verdel-bench-forest.dxf";

long FileSize(const std::string& name)
{
    std::ifstream file(name, std::ios::binary | std::ios::ate);
    return static_cast<long>(file.tellg());
}

void BM_WriteDXF(benchmark::State& state)
{
    auto store = std::make_unique<TFaceStore>();
    bench::GenerateForest(*store);
    for (auto _ : state) WriteDXFFile(*store, ForestDxf, "dxf");
    state.SetBytesProcessed(state.iterations() * FileSize(ForestDxf));
    state.counters["MB"] = FileSize(ForestDxf) / 1e6;
    FreeScene(*store);
}
BENCHMARK(BM_WriteDXF)->Unit(benchmark::kMillisecond);

void BM_ReadDXF(benchmark::State& state)
{
    auto store = std::make_unique<TFaceStore>();
    if (FileSize(ForestDxf) <= 0) {
        bench::GenerateForest(*store);
        WriteDXFFile(*store, ForestDxf, "dxf");
        FreeScene(*store);
    }
    for (auto _ : state) ReadDXFFile(*store, ForestDxf);
    state.SetBytesProcessed(state.iterations() * FileSize(ForestDxf));
    state.counters["objects"] = store->ObjectCount;
    state.counters["peak_MB"] = bench::PeakResidentMegabytes();
    FreeScene(*store);
}
BENCHMARK(BM_ReadDXF)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(ForestDxf.c_str());
}
