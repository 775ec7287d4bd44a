#include "viewer/export_names.h"

#include "engine/text_helpers.h"

namespace verdel {

namespace {

// The file-name part of Path (after the last "/") cut before its first ".".
std::string Stem(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.substr(0, name.find('.'));
}

} // namespace

std::string DefaultExportName(const std::string& CurrentFileName, const std::string& Extension)
{
    return Stem(CurrentFileName) + Extension;
}

std::optional<std::string> CorrectedExportName(const std::string& Chosen, const std::string& Extension)
{
    if (EndsWithAnyCase(Chosen, Extension)) return std::nullopt;
    const size_t slash = Chosen.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : Chosen.substr(0, slash + 1);
    return folder + Stem(Chosen) + Extension;
}

std::optional<size_t> TypedExtension(const std::string& Chosen, std::span<const std::string_view> Extensions)
{
    const std::string name = LowerCase(Chosen.substr(Chosen.find_last_of('/') + 1));
    for (size_t i = 0; i < Extensions.size(); ++i) {
        const std::string_view extension = Extensions[i];
        if (name.size() > extension.size() && name.ends_with(LowerCase(extension))) return i;
    }
    return std::nullopt;
}

} // namespace verdel
