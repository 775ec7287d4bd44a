#include "app/ini_file.h"

#include "engine/text_helpers.h"
#include "engine/text_lines.h"

namespace verdel {

namespace {

constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";

bool IsSectionLine(const std::string& line)
{
    const std::string_view t = Trim(line);
    return t.size() >= 2 && t.front() == '[' && t.back() == ']';
}

} // namespace

void TIniFile::Parse(const std::string& Text)
{
    // A UTF-8 byte-order mark belongs to the file, not to its first line.
    ByteOrderMark = Text.starts_with(Utf8ByteOrderMark);
    Lines = SplitLines(std::string_view(Text).substr(ByteOrderMark ? Utf8ByteOrderMark.size() : 0));
}

std::string TIniFile::Text() const
{
    std::string text(ByteOrderMark ? Utf8ByteOrderMark : "");
    for (const std::string& line : Lines) text += line + "\r\n";
    return text;
}

long TIniFile::SectionLine(const std::string& section) const
{
    for (size_t i = 0; i < Lines.size(); ++i) {
        if (!IsSectionLine(Lines[i])) continue;
        const std::string_view name = Trim(Lines[i]);
        if (SameTextAnyCase(Trim(name.substr(1, name.size() - 2)), section)) return static_cast<long>(i);
    }
    return -1;
}

long TIniFile::SectionEnd(long sectionIndex) const
{
    size_t i = static_cast<size_t>(sectionIndex) + 1;
    while (i < Lines.size() && !IsSectionLine(Lines[i])) ++i;
    return static_cast<long>(i);
}

long TIniFile::KeyLine(long sectionIndex, const std::string& key) const
{
    const long end = SectionEnd(sectionIndex);
    for (long i = sectionIndex + 1; i < end; ++i) {
        const std::string& line = Lines[static_cast<size_t>(i)];
        const size_t equals = line.find('=');
        if (equals != std::string::npos && SameTextAnyCase(Trim(std::string_view(line).substr(0, equals)), key))
            return i;
    }
    return -1;
}

std::optional<std::string> TIniFile::Value(const std::string& Section, const std::string& Key) const
{
    const long section = SectionLine(Section);
    if (section < 0) return std::nullopt;
    const long line = KeyLine(section, Key);
    if (line < 0) return std::nullopt;
    const std::string& text = Lines[static_cast<size_t>(line)];
    return std::string(Trim(std::string_view(text).substr(text.find('=') + 1)));
}

std::optional<long long> TIniFile::Integer(const std::string& Section, const std::string& Key) const
{
    const std::optional<std::string> value = Value(Section, Key);
    return value ? ParseWholeNumberOrHex(*value) : std::nullopt;
}

void TIniFile::SetValue(const std::string& Section, const std::string& Key, const std::string& Value)
{
    long section = SectionLine(Section);
    if (section < 0) {
        Lines.push_back("[" + Section + "]");
        section = static_cast<long>(Lines.size()) - 1;
    }
    const std::string line = Key + "=" + Value;
    const long existing = KeyLine(section, Key);
    if (existing >= 0) {
        Lines[static_cast<size_t>(existing)] = line;
        return;
    }
    // After the section's last key, before any blank lines that separate it from the next.
    long at = SectionEnd(section);
    while (at > section + 1 && Trim(Lines[static_cast<size_t>(at - 1)]).empty()) --at;
    Lines.insert(Lines.begin() + at, line);
}

} // namespace verdel
