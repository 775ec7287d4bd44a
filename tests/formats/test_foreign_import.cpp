// Foreign mesh files that must never crash, hang, balloon or read outside
// their folder: the audit's bad files through the batch tool, and the
// importer child's limits with a child that misbehaves on purpose.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "formats/import_reply.h"
#include "formats/import_sandbox.h"
#include "formats/mesh_files.h"

using namespace verdel;
using namespace verdel::test;
namespace fs = std::filesystem;

namespace {

// A glTF of one triangle whose buffer is Uri, under Nodes (a chain of Depth nodes).
std::string Gltf(const std::string& uri, int depth = 1)
{
    std::string nodes;
    for (int i = 0; i + 1 < depth; ++i) nodes += "{\"children\":[" + std::to_string(i + 1) + "]},";
    return R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0]}],"nodes":[)" + nodes +
           R"({"mesh":0}],"meshes":[{"primitives":[{"attributes":{"POSITION":0}}]}],"buffers":[{"uri":")" + uri +
           R"(","byteLength":36}],"bufferViews":[{"buffer":0,"byteLength":36}],"accessors":[{"bufferView":0,)"
           R"("componentType":5126,"count":3,"type":"VEC3","min":[0,0,0],"max":[1,1,0]}]})";
}

std::string PlyHeader(const std::string& format, const std::string& vertices, const std::string& faces)
{
    return "ply\nformat " + format + " 1.0\nelement vertex " + vertices +
           "\nproperty float x\nproperty float y\nproperty float z\nelement face " + faces +
           "\nproperty list uchar int vertex_indices\nend_header\n";
}

std::string Binary(std::initializer_list<uint32_t> words)
{
    std::string bytes;
    for (const uint32_t word : words) bytes.append(reinterpret_cast<const char*>(&word), 4);
    return bytes;
}

// The number of descriptors this process has open.
size_t OpenDescriptors() { return static_cast<size_t>(std::distance(fs::directory_iterator("/proc/self/fd"), {})); }

} // namespace

TEST(ForeignImport, BadMeshFilesEndWithExitSixAndTheirReasonAndNothingOutsideTheirFolderIsRead)
{
    // The model folder sits four folders deep, so that the OBJ's climb to
    // /etc/shadow ends at a secret of the test's own.
    const std::string top = MeshFolder("bad-files");
    const std::string folder = top + "a/b/c/d/model/";
    fs::create_directories(folder + "x.obj");
    fs::create_directories(top + "a/etc");
    const std::vector<std::string> secrets = {top + "a/b/c/d/secret.bin", top + "a/etc/shadow"};
    for (const std::string& secret : secrets) std::ofstream(secret) << "SECRET-CONTENT";
    fs::create_symlink("../secret.bin", folder + "link.bin");
    std::ofstream(folder + "triangle.bin", std::ios::binary) << std::string(36, '\0');
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    for (const std::string& secret : secrets) ASSERT_GE(inotify_add_watch(watch, secret.c_str(), IN_OPEN), 0);

    const std::string triangle = "0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n";
    const std::string binaryTriangle = std::string(36, '\0') + '\3' + Binary({0, 1, 2});
    struct TCase {
        std::string Name, Bytes, Words;
    };
    const std::vector<TCase> cases = {
        {"mangled.ase", "*3DSMAX_ASCIIEXPORT 200\n*GEOMOBJECT {\n*MESH {\n*MESH_NUMVERTEX 3\n*MESH_VERTEX_LIST {\n"
                        "*MESH_VERTEX 0 0.0 0.0\n*MESH_VERTEX 9999999999 x\n}\n}\n}\n",
         "unknown format"},
        {"deep.gltf", Gltf("triangle.bin", 20000), "the importer crashed"},
        {"upper.ply", "PLY\nformat ascii 1.0\nelement vertex 3\nproperty float x\nend_header\n0\n1\n2\n",
         "its first line is not \"ply\""},
        {"comment.ply", "ply\nformat ascii 1.0\ncomment end_header\nelement vertex 3\n", "without its end_header line"},
        // Once a header without its end_header line kept Assimp's reader going for ever.
        {"unended.ply", "ply\nformat ascii 1.0\nelement vertex 3\n", "without its end_header line"},
        {"chunk.glb", "glTF" + Binary({2, 52, 0xFFFFFFF0}) + "JSON" + std::string(32, ' '), "runs past the file's end"},
        {"claims.off", "OFF\n200000000 1 0\n" + triangle, "ends inside a vertex list"},
        {"claims.ply", PlyHeader("ascii", "200000000", "1") + triangle, "ends inside a vertex list"},
        {"faces50m.ply", PlyHeader("binary_little_endian", "3", "50000000") + binaryTriangle,
         "ends inside a face list (it holds 1 of the 50000000"},
        {"faces1m.ply", PlyHeader("ascii", "3", "1000000") + triangle,
         "ends inside a face list (it holds 1 of the 1000000"},
        {"secret.gltf", Gltf("../secret.bin"), "\"../secret.bin\", which is not in the model's folder"},
        {"escaped.gltf", Gltf("%2E%2E/secret.bin"), "\"../secret.bin\", which is not in the model's folder"},
        {"link.gltf", Gltf("link.bin"), "\"link.bin\", which is not in the model's folder"},
        {"shadow.obj", "mtllib ../../../../etc/shadow\nv 0 0 0\nv 1 0 0\nv 0 1 0\nusemtl a\nf 1 2 3\n",
         "\"../../../../etc/shadow\", which is not in the model's folder"},
        {"x.obj", "", "is a folder, not a model file"},
        {"empty.stl", "", "the file is empty"},
        {"truncated.stl", std::string(80, ' ') + Binary({12}) + std::string(50, '\0'), "ends inside a triangle list"},
        {"unknown.gltf", "not a model at all", "unknown format (details: "},
        {"nothing.obj", "# an OBJ file without geometry, only this comment\n", "no meshes in the file (details: "},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        if (c.Name != "x.obj") std::ofstream(folder + c.Name, std::ios::binary) << c.Bytes;
        const TCliRun run = RunCli({"stats", folder + c.Name});
        EXPECT_EQ(run.Exit, 6);
        EXPECT_EQ(run.Err.rfind(folder + c.Name + ": ", 0), 0u) << run.Err;
        EXPECT_NE(run.Err.find(c.Words), std::string::npos) << run.Err;
        EXPECT_EQ(run.Err.find("SECRET"), std::string::npos) << run.Err;
    }
    char event[4096];
    EXPECT_EQ(read(watch, event, sizeof event), -1) << "a file outside the model's folder was opened";
    close(watch);
}

TEST(ForeignImport, AChildThatCrashesLoopsAllocatesSleepsOrFloodsEndsAloneAndIsReaped)
{
    struct TCase {
        const char* Does;
        TImportLimits Limits;
        TChildEnd End;
    };
    const uint64_t megabyte = 1 << 20;
    const std::vector<TCase> cases = {
        {"crash", {1, 30, 256 * megabyte, megabyte}, TChildEnd::Crashed},
        {"loop", {1, 30, 256 * megabyte, megabyte}, TChildEnd::TimedOut},       // processor time
        {"sleep", {30, 1, 256 * megabyte, megabyte}, TChildEnd::TimedOut},      // the clock's backstop
        {"allocate", {30, 30, 256 * megabyte, megabyte}, TChildEnd::OutOfMemory}, // address space
        {"flood", {30, 30, 256 * megabyte, megabyte}, TChildEnd::TooLarge},
        {"reply", {30, 30, 256 * megabyte, megabyte}, TChildEnd::Replied},
    };
    const TCancelToken never;
    const size_t descriptors = OpenDescriptors();
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Does);
        // Under AddressSanitizer the child's address space cannot be limited.
        if (std::string(c.Does) == "allocate" && !ChildMemoryLimited) continue;
        const TChildRun run = RunImportChild(VERDEL_IMPORT_TEST_CHILD, c.Does, c.Limits, never);
        EXPECT_EQ(run.End, c.End);
        errno = 0;
        EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1) << "a child was left unreaped";
        EXPECT_EQ(errno, ECHILD);
        if (run.End != TChildEnd::Replied) continue;
        int meshes = 0;
        ReadReply(run.Reply, [&meshes](const TPlacedMesh& mesh) {
            meshes += 1;
            EXPECT_EQ(mesh.Positions[1], (TVector{1, 0, 0}));
            EXPECT_EQ(mesh.FaceLayers, std::vector<uint8_t>{4});
        });
        EXPECT_EQ(meshes, 1);
    }
    // Cancelled from another thread, a child that would sleep for ever is stopped and reaped.
    TCancelToken cancel;
    std::thread canceller([&cancel] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        cancel.Cancel();
    });
    EXPECT_EQ(RunImportChild(VERDEL_IMPORT_TEST_CHILD, "sleep", {}, cancel).End, TChildEnd::Cancelled);
    canceller.join();
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(OpenDescriptors(), descriptors);
}
