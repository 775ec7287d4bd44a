#include "viewer/example_gallery.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <filesystem>
#include <system_error>

#include "engine/text_helpers.h"
#include "engine/text_lines.h"
#include "render/image_files.h"

namespace verdel {

namespace {

namespace fs = std::filesystem;

// The *.vd files directly in Folder, by name.
std::vector<fs::path> DefinitionFiles(const fs::path& Folder)
{
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(Folder, error))
        if (entry.is_regular_file(error) && EndsWithAnyCase(entry.path().filename().string(), ".vd"))
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// A group of Folder's definitions, described by their opening comments.
TExampleGroup Group(const std::string& Title, const fs::path& Folder)
{
    TExampleGroup group{Title, {}};
    for (const fs::path& file : DefinitionFiles(Folder)) {
        TExample example;
        example.Path = file.string();
        TLines lines;
        try {
            lines = ReadLinesFromFile(example.Path);
        } catch (const std::exception&) {
            // Listed all the same: its thumbnail says why it cannot be read.
        }
        DescribeExample(lines, file.stem().string(), example);
        group.Examples.push_back(std::move(example));
    }
    return group;
}

} // namespace

std::vector<TExampleGroup> ListExamples(const std::string& Folder)
{
    std::vector<TExampleGroup> groups;
    groups.push_back(Group("Samples", Folder));
    groups.push_back(Group("The book's plants", fs::path(Folder) / "book"));
    std::erase_if(groups, [](const TExampleGroup& group) { return group.Examples.empty(); });
    return groups;
}

void DescribeExample(const TLines& Lines, const std::string& Stem, TExample& Example)
{
    // "random_bush" reads "Random bush" until a comment names it.
    Example.Title = Stem;
    std::replace(Example.Title.begin(), Example.Title.end(), '_', ' ');
    if (!Example.Title.empty())
        Example.Title[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(Example.Title[0])));
    Example.Summary.clear();
    for (const std::string& line : Lines) {
        const std::string_view text = Trim(line);
        if (text.empty() || text[0] != '#') break;
        const std::string_view comment = Trim(text.substr(1));
        if (SameTextAnyCase(comment, "extended")) continue; // a marker, not a description
        if (!Example.Summary.empty()) Example.Summary += ' ';
        Example.Summary += comment;
    }
    const size_t colon = Example.Summary.find(':');
    if (colon == std::string::npos || colon == 0 || colon > 40) return;
    std::string title = Example.Summary.substr(0, colon);
    const std::string book = "The book's ";
    if (title.starts_with(book) && title.size() > book.size()) {
        title.erase(0, book.size());
        title[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(title[0])));
    }
    Example.Title = title;
}

TThumbnailJobs::TThumbnailJobs(std::vector<std::string> files, const TThumbnailLook& look, int threads, TDone done)
        : Files(std::move(files)), Look(look), Done(std::move(done))
{
    // Small definitions draw quickly: they come first, so the first pictures come at once.
    std::vector<uintmax_t> sizes(Files.size());
    for (size_t i = 0; i < Files.size(); ++i) {
        std::error_code error;
        sizes[i] = fs::file_size(Files[i], error);
        if (error) sizes[i] = 0;
        Order.push_back(i);
    }
    std::stable_sort(Order.begin(), Order.end(), [&](size_t a, size_t b) { return sizes[a] < sizes[b]; });
    const size_t count = std::min(static_cast<size_t>(std::max(threads, 1)), std::max<size_t>(Files.size(), 1));
    for (size_t t = 0; t < count; ++t) Threads.emplace_back([this, count] { Work(count > 1); });
}

TThumbnailJobs::~TThumbnailJobs()
{
    Cancel();
    Wait();
}

void TThumbnailJobs::Cancel() { Stop.Cancel(); }

void TThumbnailJobs::Wait()
{
    for (std::thread& thread : Threads)
        if (thread.joinable()) thread.join();
}

void TThumbnailJobs::Work(bool Shared)
{
    TThumbnailCell cell(Look.Width, Look.Height);
    // The jobs share the cores between them; each renderer keeps to one thread.
    if (Shared) cell.Gmp->SetThreadCount(1);
    for (size_t next = Next++; next < Order.size() && !Stop.Cancelled(); next = Next++) {
        TThumbnailResult result = Draw(Order[next], cell);
        if (!Stop.Cancelled()) Done(std::move(result));
    }
}

TThumbnailResult TThumbnailJobs::Draw(size_t Index, TThumbnailCell& Cell) const
{
    TThumbnailResult result;
    result.Index = Index;
    try {
        const TLines lines = ReadLinesFromFile(Files[Index]);
        result.Outcome = Cell.Render(lines, Look.Solids, Look.Seed, {&Stop, Look.Upright});
    } catch (const std::exception& error) {
        // An unreadable file, or a model too large for memory: the cell says why.
        Cell.Gmp->ClearToBackColor();
        result.Outcome = {false, error.what(), 0};
    }
    result.Picture = FrameToImage(Cell.Gmp->Bitmap());
    return result;
}

} // namespace verdel
