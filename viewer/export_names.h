// File names offered and corrected by the viewer's Save As.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace verdel {

// The name proposed for an export: the file-name part of CurrentFileName cut
// before its first "." (all of it when it has none), then Extension (".dxf").
// An empty CurrentFileName proposes the bare extension.
std::string DefaultExportName(const std::string& CurrentFileName, const std::string& Extension);

// When the last four characters of Chosen, in lower case, differ from
// Extension: Chosen's folder, its file-name part cut before the first ".",
// and Extension. Nothing when Chosen already ends so.
std::optional<std::string> CorrectedExportName(const std::string& Chosen, const std::string& Extension);

// The index of the entry of Extensions (".dxf", ".jpg", ...) that Chosen ends
// in, in any letter case; nothing when it ends in none of them. Save As takes
// the kind of file from a typed extension that names one of its filters.
std::optional<size_t> TypedExtension(const std::string& Chosen, std::span<const std::string_view> Extensions);

} // namespace verdel
