// Exporting the bundled 30,000-tube forest as OBJ, STL, PLY, glTF and GLB
// (a mesh per layer; GLB also with a node per object, and with smooth
// normals), and importing the exported OBJ through Assimp. Each format's
// peak memory is the process's own when it runs alone:
// bench_export --benchmark_filter=glb
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "bench/bench_support.h"
#include "engine/generation.h"
#include "formats/mesh_export.h"
#include "formats/model_reader.h"

using namespace verdel;

namespace {

namespace fs = std::filesystem;

const fs::path Folder = fs::temp_directory_path() / "verdel-bench-export";

// The forest, generated once into a store of the benchmarks' own.
const TFaceStore& Forest()
{
    static const std::unique_ptr<TFaceStore> store = [] {
        auto forest = std::make_unique<TFaceStore>();
        auto state = std::make_unique<TDefinitionState>();
        bench::TYesPrompt prompt;
        TRandomSource random;
        GenerateModel(ReadLinesFromFile(VERDEL_DATA "/vdfiles/forest.vd"), TSolidSettings{}, prompt, *state, *forest,
                      random);
        return forest;
    }();
    return *store;
}

TExportInfo ForestInfo()
{
    TExportInfo info;
    info.TexturesFolder = VERDEL_DATA "/textures";
    info.Seed = 0;
    return info;
}

// The bytes of every file the export wrote (the pictures left out).
double WrittenMB(const fs::path& folder)
{
    uintmax_t bytes = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() != ".jpg") bytes += entry.file_size();
    return static_cast<double>(bytes) / 1e6;
}

void BM_ExportMesh(benchmark::State& state, const std::string& extension, bool perObject, bool smooth)
{
    const TFaceStore& forest = Forest();
    const fs::path folder = Folder / extension.substr(1);
    fs::remove_all(folder);
    fs::create_directories(folder);
    TExportInfo info = ForestInfo();
    info.NodePerObject = perObject;
    info.SmoothNormals = smooth;
    for (auto _ : state) ExportMesh(forest, (folder / ("forest" + extension)).string(), info);
    state.counters["objects"] = forest.ObjectCount;
    state.counters["MB"] = WrittenMB(folder);
    state.counters["peak_MB"] = bench::PeakResidentMegabytes();
    fs::remove_all(folder);
}

void BM_ImportObj(benchmark::State& state)
{
    const fs::path folder = Folder / "import";
    fs::create_directories(folder);
    const std::string file = (folder / "forest.obj").string();
    ExportMesh(Forest(), file, ForestInfo());
    auto store = std::make_unique<TFaceStore>();
    for (auto _ : state) ReadForeignModelFile(*store, file);
    state.counters["objects"] = store->ObjectCount;
    state.counters["faces"] = static_cast<double>(CountFaces(*store));
    state.counters["peak_MB"] = bench::PeakResidentMegabytes();
    fs::remove_all(folder);
}

} // namespace

int main(int argc, char** argv)
{
    struct TVariant {
        const char* Extension;
        bool PerObject, Smooth;
        const char* Suffix;
    };
    for (const TVariant& v : {TVariant{".ply", false, false, ""}, TVariant{".stl", false, false, ""},
                              TVariant{".glb", false, false, ""}, TVariant{".glb", true, false, "_objects"},
                              TVariant{".glb", false, true, "_smooth"}, TVariant{".gltf", false, false, ""},
                              TVariant{".obj", false, false, ""}})
        benchmark::RegisterBenchmark(("BM_ExportMesh/" + std::string(v.Extension + 1) + v.Suffix).c_str(),
                                     BM_ExportMesh, std::string(v.Extension), v.PerObject, v.Smooth)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
    benchmark::RegisterBenchmark("BM_ImportObj", BM_ImportObj)->Unit(benchmark::kMillisecond)->Iterations(1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
