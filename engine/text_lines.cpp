#include "engine/text_lines.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "engine/atomic_file.h"

namespace verdel {

TLines SplitLines(std::string_view Text)
{
    TLines lines;
    size_t start = 0;
    for (size_t i = 0; i < Text.size(); ++i) {
        if (Text[i] != '\r' && Text[i] != '\n') continue;
        lines.emplace_back(Text.substr(start, i - start));
        if (Text[i] == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < Text.size()) lines.emplace_back(Text.substr(start));
    return lines;
}

TLines ReadLines(std::istream& In)
{
    const std::string text{std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
    return SplitLines(text);
}

std::string ReadFileText(const std::string& FileName, size_t MaxBytes)
{
    std::ifstream in(FileName, std::ios::binary);
    // A folder opens as a file on some systems and fails only when read.
    const int error = !in ? errno : std::filesystem::is_directory(FileName) ? EISDIR : 0;
    if (error != 0) throw std::runtime_error(FileName + ": " + std::strerror(error));
    try {
        // Read in pieces, so that a device without end (/dev/zero) or a huge
        // file is refused once it passes the limit, not after filling memory.
        std::string text;
        std::array<char, 65536> piece;
        while (in.read(piece.data(), piece.size()) || in.gcount() > 0) {
            const auto count = static_cast<size_t>(in.gcount());
            if (count > MaxBytes - text.size())
                throw std::runtime_error("the file is larger than " + std::to_string(MaxBytes >> 20) +
                                         " MB, the most that is read");
            text.append(piece.data(), count);
        }
        if (in.bad()) throw std::runtime_error("read error");
        return text;
    } catch (const std::exception& failure) {
        // The stream's own message does not know the file's name.
        throw std::runtime_error(FileName + ": " + failure.what());
    }
}

void WriteFileText(const std::string& FileName, std::string_view Text)
{
    TAtomicFile file(FileName);
    file.Write([&](std::ostream& out) { out.write(Text.data(), static_cast<std::streamsize>(Text.size())); });
    file.Commit();
}

TLines ReadLinesFromFile(const std::string& FileName) { return SplitLines(ReadFileText(FileName, MaxLinesFileBytes)); }

void WriteLines(std::ostream& Out, const TLines& Lines)
{
    for (const std::string& line : Lines) Out << line << "\r\n";
}

void WriteLinesToFile(const std::string& FileName, const TLines& Lines)
{
    std::ostringstream text;
    WriteLines(text, Lines);
    WriteFileText(FileName, text.str());
}

} // namespace verdel
