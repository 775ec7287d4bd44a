// File names offered and corrected by the viewer's Save As.
#pragma once

#include <optional>
#include <string>

namespace verdel {

// The name proposed for an export: the file-name part of CurrentFileName cut
// before its first "." (all of it when it has none), then Extension (".dxf").
// An empty CurrentFileName proposes the bare extension.
std::string DefaultExportName(const std::string& CurrentFileName, const std::string& Extension);

// When the last four characters of Chosen, in lower case, differ from
// Extension: Chosen's folder, its file-name part cut before the first ".",
// and Extension. Nothing when Chosen already ends so.
std::optional<std::string> CorrectedExportName(const std::string& Chosen, const std::string& Extension);

} // namespace verdel
