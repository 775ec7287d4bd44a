#include "viewer/export_names.h"

#include <algorithm>
#include <cctype>

namespace verdel {

namespace {

// The file-name part of Path (after the last "/") cut before its first ".".
std::string Stem(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.substr(0, name.find('.'));
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

std::string DefaultExportName(const std::string& CurrentFileName, const std::string& Extension)
{
    return Stem(CurrentFileName) + Extension;
}

std::optional<std::string> CorrectedExportName(const std::string& Chosen, const std::string& Extension)
{
    const size_t tail = Extension.size();
    if (Chosen.size() >= tail && Lower(Chosen.substr(Chosen.size() - tail)) == Extension) return std::nullopt;
    const size_t slash = Chosen.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : Chosen.substr(0, slash + 1);
    return folder + Stem(Chosen) + Extension;
}

std::optional<size_t> TypedExtension(const std::string& Chosen, std::span<const std::string_view> Extensions)
{
    const std::string name = Lower(Chosen.substr(Chosen.find_last_of('/') + 1));
    for (size_t i = 0; i < Extensions.size(); ++i) {
        const std::string_view extension = Extensions[i];
        if (name.size() > extension.size() && name.ends_with(Lower(std::string(extension)))) return i;
    }
    return std::nullopt;
}

} // namespace verdel
