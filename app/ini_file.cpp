#include "app/ini_file.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "engine/text_lines.h"

namespace verdel {

namespace {

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool SameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool IsSectionLine(const std::string& line)
{
    const std::string t = Trim(line);
    return t.size() >= 2 && t.front() == '[' && t.back() == ']';
}

} // namespace

std::optional<long long> ParseWholeNumber(const std::string& Text)
{
    std::string t = Trim(Text);
    bool negative = false;
    if (!t.empty() && (t[0] == '+' || t[0] == '-')) {
        negative = t[0] == '-';
        t.erase(0, 1);
    }
    int base = 10;
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        base = 16;
        t.erase(0, 2);
    }
    if (t.empty()) return std::nullopt;
    long long value = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value, base);
    if (ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
    return negative ? -value : value;
}

void TIniFile::Parse(const std::string& Text) { Lines = SplitLines(Text); }

std::string TIniFile::Text() const
{
    std::string text;
    for (const std::string& line : Lines) text += line + "\r\n";
    return text;
}

long TIniFile::SectionLine(const std::string& section) const
{
    for (size_t i = 0; i < Lines.size(); ++i) {
        if (!IsSectionLine(Lines[i])) continue;
        const std::string name = Trim(Lines[i]);
        if (SameName(Trim(name.substr(1, name.size() - 2)), section)) return static_cast<long>(i);
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
        if (equals != std::string::npos && SameName(Trim(line.substr(0, equals)), key)) return i;
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
    return Trim(text.substr(text.find('=') + 1));
}

std::optional<long long> TIniFile::Integer(const std::string& Section, const std::string& Key) const
{
    const std::optional<std::string> value = Value(Section, Key);
    return value ? ParseWholeNumber(*value) : std::nullopt;
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
