// Exporting the bundled 30,000-tube forest as OBJ, STL, PLY, glTF and GLB.
// Each format's peak memory is the process's own when it runs alone:
// bench_export --benchmark_filter=glb
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <filesystem>

#include "engine/generation.h"
#include "formats/mesh_export.h"

using namespace verdel;

namespace {

namespace fs = std::filesystem;

class TSilentPrompt : public TPrompt {
public:
    void Message(const std::string&) override {}
    TAnswer Confirm(const std::string&, bool) override { return TAnswer::Yes; }
};

const fs::path Folder = fs::temp_directory_path() / "verdel-bench-export";

// The forest, generated once for every format.
TFaceStore& Forest()
{
    static const std::unique_ptr<TFaceStore> store = [] {
        auto forest = std::make_unique<TFaceStore>();
        TSilentPrompt prompt;
        auto definition = std::make_unique<TDefinitionState>();
        GenerateModel(ReadLinesFromFile(VERDEL_DATA "/vdfiles/forest.vd"), TSolidSettings{}, prompt, *definition,
                      *forest, RandomSource);
        return forest;
    }();
    return *store;
}

// The bytes of every file the export wrote (the pictures left out).
double WrittenMB()
{
    uintmax_t bytes = 0;
    for (const auto& entry : fs::directory_iterator(Folder))
        if (entry.path().extension() != ".jpg") bytes += entry.file_size();
    return static_cast<double>(bytes) / 1e6;
}

void BM_ExportMesh(benchmark::State& state, const std::string& extension)
{
    TFaceStore& forest = Forest();
    fs::remove_all(Folder);
    fs::create_directories(Folder);
    TExportInfo info;
    info.TexturesFolder = VERDEL_DATA "/textures";
    info.Seed = 0;
    for (auto _ : state) ExportMesh(forest, (Folder / ("forest" + extension)).string(), info);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["objects"] = forest.ObjectCount;
    state.counters["MB"] = WrittenMB();
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    fs::remove_all(Folder);
}

} // namespace

int main(int argc, char** argv)
{
    for (const char* extension : {".ply", ".stl", ".glb", ".gltf", ".obj"})
        benchmark::RegisterBenchmark(("BM_ExportMesh/" + std::string(extension + 1)).c_str(), BM_ExportMesh,
                                     std::string(extension))
            ->Unit(benchmark::kMillisecond)
            ->Iterations(2);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
