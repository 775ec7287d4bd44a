// Running one of Assimp's exporters with its files streamed to disk or caught in memory.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <assimp/scene.h>

namespace verdel {

// One file an exporter wrote into memory: the path it gave and the bytes.
struct TCapturedFile {
    std::string Path;
    std::string Bytes;
};

// What becomes of one file the exporter writes.
struct TFileHandling {
    bool InMemory = false; // kept for a later touch instead of written to disk
    std::string Prefix;    // text written to disk before the exporter's bytes
};

// Chooses the handling of each file by the path the exporter gives it.
using TFilePolicy = std::function<TFileHandling(const std::string& Path)>;

// Exports Scene with Assimp's exporter FormatId ("obj", "stlb", "plyb",
// "gltf2", "glb2") as FileName. Files the policy keeps in memory come back
// in the order they were opened; the others are on disk when it returns.
// Throws std::runtime_error naming the file with Assimp's or the system's
// reason when the export or a write fails.
std::vector<TCapturedFile> RunAssimpExport(const aiScene& Scene, const char* FormatId, const std::string& FileName,
                                           const TFilePolicy& Policy);

} // namespace verdel
