// A settings file of sections and key=value lines, edited in place.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace verdel {

// Keeps every line of the file, so that writing a key changes only that key:
// other sections, keys and comments stay as they were. Section and key names
// compare without regard to letter case, as on the platform the files come from.
class TIniFile {
public:
    // Reads a file's text (after a UTF-8 byte-order mark, if it has one).
    void Parse(const std::string& Text);

    // The file's text, lines ended by CR LF, with the byte-order mark it was read with.
    std::string Text() const;

    // The value of Key in Section, trimmed; nothing when the key is missing.
    std::optional<std::string> Value(const std::string& Section, const std::string& Key) const;

    // A whole number (decimal, or hexadecimal after "0x": see ParseWholeNumberOrHex);
    // nothing when the key is missing or its value is not a whole number.
    std::optional<long long> Integer(const std::string& Section, const std::string& Key) const;

    // Sets Key in Section, replacing its line or adding one at the end of the
    // section (the section is added at the end of the file when missing).
    void SetValue(const std::string& Section, const std::string& Key, const std::string& Value);

private:
    // Index of the "[Section]" line, or -1.
    long SectionLine(const std::string& section) const;
    // Index of Key's line inside the section starting at SectionIndex, or -1.
    long KeyLine(long sectionIndex, const std::string& key) const;
    long SectionEnd(long sectionIndex) const;

    std::vector<std::string> Lines;
    bool ByteOrderMark = false;
};

} // namespace verdel
