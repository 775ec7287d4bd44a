// Fuzz target: the checks of foreign mesh files and the folder rule of the
// importer's IO system. The first byte chooses: 0 to 3 check the rest as a
// PLY, OFF, STL or GLB file (they must answer, in time linear in its size);
// 4 resolves the rest (its first byte's low bit asking for URI decoding) as
// a name in a folder of a file, a subfolder, a link to the subfolder, a
// link out and a link to itself. A name accepted must lie in the folder,
// and a plain name (no ".." step, not absolute, not through either bad
// link) must be accepted.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "formats/folder_io_system.h"
#include "formats/mesh_checks.h"
#include "tests/fuzz/fuzz_target.h"

using namespace verdel;
namespace fs = std::filesystem;

namespace {

// The folder the names are resolved in, made once.
const std::string& Folder()
{
    static const std::string folder = [] {
        std::string name = (fs::temp_directory_path() / "verdel-fuzz-mesh-XXXXXX").string();
        if (!mkdtemp(name.data())) std::abort();
        const fs::path root = fs::canonical(name);
        fs::create_directory(root / "sub");
        std::ofstream(root / "a.bin") << "a";
        std::ofstream(root / "sub" / "b.bin") << "b";
        fs::create_directory_symlink("sub", root / "in");
        fs::create_directory_symlink("/", root / "out");
        fs::create_symlink("loop", root / "loop");
        return root.string();
    }();
    return folder;
}

// Whether the reference accepts Name: relative, no ".." step between '/' or
// '\', no NUL, its first step neither bad link, shorter than a path may be.
bool PlainName(std::string_view name)
{
    if (name.empty() || name[0] == '/' || name.find('\0') != std::string_view::npos || name.size() > 3000) return false;
    std::string_view first;
    size_t start = 0;
    for (size_t at = 0; at <= name.size(); ++at) {
        if (at < name.size() && name[at] != '/' && name[at] != '\\') continue;
        const std::string_view step = name.substr(start, at - start);
        if (step == ".." || step.size() > 200) return false;
        if (first.empty() && !step.empty() && step != ".") first = step;
        start = at + 1;
    }
    return !first.empty() && first != "out" && first != "loop" && name.find('\\') == std::string_view::npos;
}

void CheckName(std::string_view input)
{
    if (input.empty()) return;
    const bool decode = input[0] & 1;
    // The library names files as C strings: no NUL before the name's end.
    const std::string name(input.substr(1, input.find('\0', 1) - 1));
    const TFolderPath path = ResolveInFolder(Folder(), Folder(), Folder() + "/" + name, decode);
    if (!path.Path.empty() && !path.Path.starts_with(Folder() + "/")) std::abort();
    if (PlainName(decode ? PercentDecode(name) : name) && path.Path.empty()) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    if (Size == 0) return 0;
    const std::string_view rest(reinterpret_cast<const char*>(Data) + 1, Size - 1);
    constexpr std::string_view formats[] = {"ply", "off", "stl", "glb"};
    if (Data[0] % 5 < 4) MeshFileFault(rest, formats[Data[0] % 5]);
    else CheckName(rest);
    return 0;
}
