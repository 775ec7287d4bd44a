#include "app/rtf_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <unordered_map>

#include "app/rtf_characters.h"
#include "engine/text_helpers.h"
#include "engine/text_lines.h"

namespace verdel {

bool TRichRun::SameFormat(const TRichRun& Other) const
{
    return Bold == Other.Bold && Italic == Other.Italic && Underline == Other.Underline && FontSize == Other.FontSize &&
           Color == Other.Color && Font == Other.Font;
}

const std::string& TRichDocument::FontName(const TRichRun& Run) const
{
    static const std::string none;
    return Run.Font >= 0 && static_cast<size_t>(Run.Font) < Fonts.size() ? Fonts[static_cast<size_t>(Run.Font)] : none;
}

namespace {

constexpr int DefaultHalfPoints = 24;   // 12 points, RTF's own default
constexpr int LargestHalfPoints = 3276; // 1638 points, the largest size word processors offer
constexpr size_t MaxGroupDepth = 1000;  // deeper groups are only counted, so braces still pair up

enum TDestination { dsText, dsFontTable, dsColorTable, dsSkip };

// The character format of a group: what \plain resets.
struct TCharFormat {
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    int HalfPoints = DefaultHalfPoints;
    int ColorIndex = 0; // into the colour table
    int FontIndex = -1; // -1: the document's default font
};

// What a group inherits from the enclosing group and loses at its end.
struct TGroupState {
    TCharFormat Format;
    TParagraphAlign Align = paLeft;
    TDestination Destination = dsText;
    int UnicodeSkip = 1; // fallback characters after each \uN
};

// A control word and its optional numeric parameter.
struct TControlWord {
    std::string_view Name;
    std::optional<int> Parameter;

    int ValueOr(int Default) const { return Parameter.value_or(Default); }
};

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c)
{
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsOtherUnderline(std::string_view Name)
{
    static constexpr std::string_view names[] = {"uld",     "uldash",  "uldashd", "uldashdd", "uldb",
                                                 "ulhwave", "ulldash", "ulth",    "ulw",      "ulwave"};
    return std::find(std::begin(names), std::end(names), Name) != std::end(names);
}

// A font size word's value; none or zero means the default size.
int FontHalfPoints(int Value) { return Value > 0 ? std::min(Value, LargestHalfPoints) : DefaultHalfPoints; }

// One pass over the RTF text, keeping a stack of group states.
class TRtfParser {
public:
    explicit TRtfParser(std::string_view rtf) : Rtf(rtf) { Groups.emplace_back(); }

    TRichDocument Read()
    {
        while (Pos < Rtf.size()) {
            const char c = Rtf[Pos++];
            if (c == '{') {
                OpenGroup();
            } else if (c == '}') {
                CloseGroup();
            } else if (c == '\\') {
                ReadControl();
            } else if (c != '\r' && c != '\n' && (static_cast<unsigned char>(c) >= 0x20 || c == '\t')) {
                Emit(Windows1252ToUnicode(static_cast<unsigned char>(c)));
            }
        }
        if (!Paragraph.Runs.empty()) Document.Paragraphs.push_back(std::move(Paragraph));
        return std::move(Document);
    }

private:
    TGroupState& State() { return Groups.back(); }

    void OpenGroup()
    {
        SkipCount = 0;
        if (Groups.size() >= MaxGroupDepth) {
            ++ExcessDepth;
            return;
        }
        Groups.push_back(Groups.back());
    }

    void CloseGroup()
    {
        SkipCount = 0;
        if (ExcessDepth > 0) {
            --ExcessDepth;
            return;
        }
        if (Groups.size() == 1) return; // a closing brace too many
        if (State().Destination == dsFontTable && !FontName.empty()) FinishFont();
        Groups.pop_back();
    }

    void ReadControl()
    {
        if (Pos >= Rtf.size()) return; // a lone backslash at the very end
        if (IsLetter(Rtf[Pos])) {
            ApplyWord(ReadWord());
            return;
        }
        ReadSymbol(Rtf[Pos++]);
    }

    TControlWord ReadWord()
    {
        const size_t start = Pos;
        while (Pos < Rtf.size() && IsLetter(Rtf[Pos])) ++Pos;
        TControlWord word{Rtf.substr(start, Pos - start), std::nullopt};
        const bool negative = Pos + 1 < Rtf.size() && Rtf[Pos] == '-' && IsDigit(Rtf[Pos + 1]);
        if (negative) ++Pos;
        if (Pos < Rtf.size() && IsDigit(Rtf[Pos])) {
            long long value = 0;
            for (; Pos < Rtf.size() && IsDigit(Rtf[Pos]); ++Pos) {
                value = std::min(value * 10 + (Rtf[Pos] - '0'), 1000000000LL);
            }
            word.Parameter = static_cast<int>(negative ? -value : value);
        }
        if (Pos < Rtf.size() && Rtf[Pos] == ' ') ++Pos; // the word's delimiter
        return word;
    }

    void ReadSymbol(char c)
    {
        switch (c) {
        case '\'': ReadHexByte(); break;
        case '{':
        case '}':
        case '\\': Emit(static_cast<unsigned char>(c)); break;
        case '~': Emit(0x00A0); break;
        case '_': Emit(0x2011); break;
        case '*': State().Destination = dsSkip; break;
        case '\r':
        case '\n': EndParagraph(); break;
        default: break; // \- optional hyphen, \| \: and unknown symbols
        }
    }

    void ReadHexByte()
    {
        if (Pos + 1 >= Rtf.size()) {
            Pos = Rtf.size();
            return;
        }
        const int high = HexValue(Rtf[Pos]), low = HexValue(Rtf[Pos + 1]);
        if (high < 0 || low < 0) return;
        Pos += 2;
        Emit(Windows1252ToUnicode(static_cast<unsigned char>(high * 16 + low)));
    }

    void ApplyWord(const TControlWord& Word)
    {
        if (Word.Name == "bin") {
            Pos += std::min<size_t>(std::max(Word.ValueOr(0), 0), Rtf.size() - Pos);
        } else if (Word.Name == "u") {
            ReadUnicode(Word.ValueOr(0));
        } else if (!ApplyDestinationWord(Word) && !ApplyTableWord(Word) && !ApplyFormatWord(Word)) {
            if (const std::optional<uint32_t> c = SymbolWordCharacter(Word.Name)) Emit(*c);
        }
    }

    bool ApplyDestinationWord(const TControlWord& Word)
    {
        if (Word.Name == "fonttbl") {
            State().Destination = dsFontTable;
        } else if (Word.Name == "colortbl") {
            State().Destination = dsColorTable;
            PendingColor.reset();
        } else if (IsSkippedDestination(Word.Name)) {
            State().Destination = dsSkip;
        } else {
            return false;
        }
        return true;
    }

    bool ApplyTableWord(const TControlWord& Word)
    {
        const TDestination destination = State().Destination;
        if (Word.Name == "deff") {
            DefaultFont = Word.ValueOr(0);
        } else if (destination == dsFontTable && Word.Name == "f") {
            FontEntry = Word.ValueOr(0);
            FontName.clear();
        } else if (int* channel = destination == dsColorTable ? ColorChannel(Word.Name) : nullptr) {
            *channel = std::clamp(Word.ValueOr(0), 0, 255);
        } else {
            return false;
        }
        return true;
    }

    // The red, green or blue part of the colour table entry being read, started on first use.
    int* ColorChannel(std::string_view Name)
    {
        if (Name != "red" && Name != "green" && Name != "blue") return nullptr;
        if (!PendingColor) PendingColor = TRichColor{};
        return Name == "red" ? &PendingColor->Red : Name == "green" ? &PendingColor->Green : &PendingColor->Blue;
    }

    bool ApplyFormatWord(const TControlWord& Word)
    {
        TGroupState& state = State();
        TCharFormat& format = state.Format;
        const std::string_view name = Word.Name;
        const bool on = Word.ValueOr(1) != 0;
        if (name == "b") format.Bold = on;
        else if (name == "i") format.Italic = on;
        else if (name == "ul" || IsOtherUnderline(name)) format.Underline = on;
        else if (name == "ulnone") format.Underline = false;
        else if (name == "fs") format.HalfPoints = FontHalfPoints(Word.ValueOr(0));
        else if (name == "cf") format.ColorIndex = Word.ValueOr(0);
        else if (name == "f") format.FontIndex = Word.ValueOr(0);
        else if (name == "plain") format = TCharFormat{};
        else if (name == "pard" || name == "ql") state.Align = paLeft;
        else if (name == "qc") state.Align = paCenter;
        else if (name == "qr") state.Align = paRight;
        else if (name == "qj") state.Align = paJustify;
        else if (name == "par") EndParagraph();
        else if (name == "uc") state.UnicodeSkip = std::max(Word.ValueOr(1), 0);
        else return false;
        return true;
    }

    // \uN gives one UTF-16 unit (a negative N stands for N + 65536); a pair of
    // surrogates makes one character. The fallback characters that follow are skipped.
    void ReadUnicode(int Value)
    {
        const uint32_t unit = static_cast<uint32_t>(Value) & 0xFFFF;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            HighSurrogate = unit;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF && HighSurrogate != 0) {
            AddCharacter(0x10000 + ((HighSurrogate - 0xD800) << 10) + (unit - 0xDC00));
            HighSurrogate = 0;
        } else {
            HighSurrogate = 0;
            if (unit != 0) AddCharacter(unit);
        }
        SkipCount = State().UnicodeSkip;
    }

    // A character of the text, unless it is a fallback of the last \uN.
    void Emit(uint32_t CodePoint)
    {
        if (SkipCount > 0) {
            --SkipCount;
            return;
        }
        AddCharacter(CodePoint);
    }

    void AddCharacter(uint32_t CodePoint)
    {
        switch (State().Destination) {
        case dsText: AppendText(CodePoint); break;
        case dsFontTable:
            if (CodePoint == ';') FinishFont();
            else AppendUtf8(FontName, CodePoint);
            break;
        case dsColorTable:
            if (CodePoint == ';') FinishColor();
            break;
        case dsSkip: break;
        }
    }

    void AppendText(uint32_t CodePoint)
    {
        TRichRun run = CurrentFormat();
        Paragraph.Align = State().Align;
        if (Paragraph.Runs.empty() || !Paragraph.Runs.back().SameFormat(run)) {
            Paragraph.Runs.push_back(std::move(run));
        }
        AppendUtf8(Paragraph.Runs.back().Text, CodePoint);
    }

    TRichRun CurrentFormat() const
    {
        const TCharFormat& format = Groups.back().Format;
        TRichRun run;
        run.Bold = format.Bold;
        run.Italic = format.Italic;
        run.Underline = format.Underline;
        run.FontSize = format.HalfPoints / 2.0;
        if (format.ColorIndex >= 0 && static_cast<size_t>(format.ColorIndex) < Colors.size()) {
            run.Color = Colors[format.ColorIndex];
        }
        const auto font = Fonts.find(format.FontIndex >= 0 ? format.FontIndex : DefaultFont);
        if (font != Fonts.end()) run.Font = font->second;
        return run;
    }

    void EndParagraph()
    {
        if (State().Destination != dsText) return;
        Paragraph.Align = State().Align;
        Document.Paragraphs.push_back(std::move(Paragraph));
        Paragraph = TRichParagraph{};
    }

    void FinishFont()
    {
        if (FontEntry >= 0) Fonts[FontEntry] = FontId(Trim(FontName));
        FontName.clear();
    }

    // The document's index of a font name, added on first use; -1 for an empty name.
    int FontId(std::string_view Name)
    {
        if (Name.empty()) return -1;
        const auto [entry, added] = FontIds.try_emplace(std::string(Name), static_cast<int>(Document.Fonts.size()));
        if (added) Document.Fonts.push_back(entry->first);
        return entry->second;
    }

    void FinishColor()
    {
        Colors.push_back(PendingColor);
        PendingColor.reset();
    }

    std::string_view Rtf;
    size_t Pos = 0;
    std::vector<TGroupState> Groups;
    int ExcessDepth = 0;
    int SkipCount = 0;
    uint32_t HighSurrogate = 0;

    std::map<int, int> Fonts;                     // font number in the table to the document's index
    std::unordered_map<std::string, int> FontIds; // font name to the document's index
    int DefaultFont = 0;
    int FontEntry = -1;
    std::string FontName;
    std::vector<std::optional<TRichColor>> Colors;
    std::optional<TRichColor> PendingColor;

    TRichDocument Document;
    TRichParagraph Paragraph;
};

} // namespace

TRichDocument ReadRichText(std::string_view Rtf) { return TRtfParser(Rtf).Read(); }

TRichDocument ReadRichText(std::istream& In)
{
    const std::string text{std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
    return ReadRichText(std::string_view(text));
}

TRichDocument ReadRichTextFile(const std::string& FileName)
{
    return ReadRichText(std::string_view(ReadFileText(FileName)));
}

std::string PlainText(const TRichDocument& Document)
{
    std::string text;
    for (const TRichParagraph& paragraph : Document.Paragraphs) {
        if (&paragraph != &Document.Paragraphs.front()) text += '\n';
        for (const TRichRun& run : paragraph.Runs) text += run.Text;
    }
    return text;
}

} // namespace verdel
