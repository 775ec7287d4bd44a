// Replays stored fuzz inputs without libFuzzer: every file named on the
// command line, and every file in a folder named there (in name order), goes
// once through the target's LLVMFuzzerTestOneInput. A fault aborts with the
// file's name printed just before. A folder that does not exist is passed
// over (a target without regressions yet); a run that replays nothing fails.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_target.h"

namespace fs = std::filesystem;

namespace {

bool Replay(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in.good() && !in.eof()) {
        std::fprintf(stderr, "%s: cannot be read\n", file.c_str());
        return false;
    }
    std::printf("%s (%zu bytes)\n", file.c_str(), bytes.size());
    std::fflush(stdout);
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path argument = argv[i];
        std::error_code error;
        std::vector<fs::path> files;
        if (fs::is_directory(argument, error)) {
            for (const auto& entry : fs::directory_iterator(argument, error))
                if (entry.is_regular_file()) files.push_back(entry.path());
            std::sort(files.begin(), files.end());
        } else if (fs::is_regular_file(argument, error)) {
            files.push_back(argument);
        } else {
            std::printf("%s: no such file or folder, passed over\n", argv[i]);
        }
        for (const fs::path& file : files) {
            if (!Replay(file)) return 1;
            ++replayed;
        }
    }
    std::printf("%d inputs replayed\n", replayed);
    return replayed > 0 ? 0 : 1;
}
