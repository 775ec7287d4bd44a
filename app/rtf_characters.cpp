#include "app/rtf_characters.h"

#include <algorithm>
#include <array>
#include <utility>

namespace verdel {

namespace {

constexpr uint32_t ReplacementCharacter = 0xFFFD;

// Windows-1252 bytes 0x80 to 0x9F; the other bytes are Latin-1.
constexpr std::array<uint16_t, 32> Windows1252High = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

constexpr std::pair<std::string_view, uint32_t> SymbolWords[] = {
    {"tab", '\t'},       {"line", '\n'},      {"emdash", 0x2014},    {"endash", 0x2013},    {"bullet", 0x2022},
    {"lquote", 0x2018},  {"rquote", 0x2019},  {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", 0x2003},
    {"enspace", 0x2002}, {"qmspace", 0x2005}, {"cell", '\t'},
};

constexpr std::string_view SkippedDestinations[] = {
    "author",    "buptim",       "colorschememapping",
    "comment",   "company",      "creatim",
    "datastore", "doccomm",      "filetbl",
    "fldinst",   "footer",       "footerf",
    "footerl",   "footerr",      "footnote",
    "ftncn",     "ftnsep",       "ftnsepc",
    "generator", "header",       "headerf",
    "headerl",   "headerr",      "info",
    "keywords",  "latentstyles", "listoverridetable",
    "listtable", "manager",      "nonshppict",
    "object",    "operator",     "pict",
    "printim",   "private",      "revtbl",
    "revtim",    "rsidtbl",      "stylesheet",
    "subject",   "themedata",    "title",
    "txe",       "xmlnstbl",
};

} // namespace

void AppendUtf8(std::string& Out, uint32_t CodePoint)
{
    if (CodePoint > 0x10FFFF || (CodePoint >= 0xD800 && CodePoint <= 0xDFFF)) CodePoint = ReplacementCharacter;
    if (CodePoint < 0x80) {
        Out += static_cast<char>(CodePoint);
    } else if (CodePoint < 0x800) {
        Out += static_cast<char>(0xC0 | (CodePoint >> 6));
        Out += static_cast<char>(0x80 | (CodePoint & 0x3F));
    } else if (CodePoint < 0x10000) {
        Out += static_cast<char>(0xE0 | (CodePoint >> 12));
        Out += static_cast<char>(0x80 | ((CodePoint >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (CodePoint & 0x3F));
    } else {
        Out += static_cast<char>(0xF0 | (CodePoint >> 18));
        Out += static_cast<char>(0x80 | ((CodePoint >> 12) & 0x3F));
        Out += static_cast<char>(0x80 | ((CodePoint >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (CodePoint & 0x3F));
    }
}

uint32_t Windows1252ToUnicode(unsigned char Byte)
{
    if (Byte >= 0x80 && Byte <= 0x9F) return Windows1252High[Byte - 0x80];
    return Byte;
}

std::optional<uint32_t> SymbolWordCharacter(std::string_view Word)
{
    for (const auto& [word, character] : SymbolWords) {
        if (word == Word) return character;
    }
    return std::nullopt;
}

bool IsSkippedDestination(std::string_view Word)
{
    return std::find(std::begin(SkippedDestinations), std::end(SkippedDestinations), Word) !=
           std::end(SkippedDestinations);
}

} // namespace verdel
