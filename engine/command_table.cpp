#include "engine/command_table.h"

#include <algorithm>
#include <array>

namespace verdel {

namespace {

using enum TCommandFamily;

// Effects as the turtle carries them out (engine/turtle.cpp); a test runs every
// character through the turtle and checks this table against what it does.
constexpr std::array<TCommandInfo, 37> Table = {{
    {"F", "length x", "Draw a full segment (a tube, or a block with tubes off)", Draw, true},
    {"Z", "length x", "Draw a half segment", Draw, true},
    {"Q", "length x", "Draw a cone, when Set Q = Draw Cone is on", Draw, true},
    {"W", "length x", "Draw a block, when Set W = Draw Block is on", Draw, true},
    {"R", "length x", "Draw a pyramid, when Set R = Draw Pyramid is on", Draw, true},
    {"f", "distance x", "Move a full segment without drawing (a polygon vertex)", Move, true},
    {"z", "distance x", "Move a half segment without drawing (a polygon vertex)", Move, true},
    {"g", "distance x", "Move a full segment without drawing, no vertex", Move, true},
    {".", "", "Add a polygon vertex where the turtle stands", Move, true},
    {"+", "by x degrees", "Turn left", Turn, true},
    {"-", "by x degrees", "Turn right", Turn, true},
    {"&", "by x degrees", "Pitch down", Turn, true},
    {"^", "by x degrees", "Pitch up", Turn, true},
    {"<", "by x degrees", "Roll left", Turn, true},
    {">", "by x degrees", "Roll right", Turn, true},
    {"|", "", "Turn 180 degrees", Turn, true},
    {"%", "", "Roll 180 degrees", Turn, true},
    {"$", "", "Roll until horizontal", Turn, true},
    {"~", "at most x degrees", "Random turn, pitch and roll", Turn, true},
    {"t", "strength x", "Tropism: bend towards the ground (strength 0.2)", Turn, true},
    {"!", "times x", "Thickness times 0.7", Change, true},
    {"?", "times x", "Thickness divided by 0.7", Change, true},
    {"'", "times x", "Length times 0.9", Change, true},
    {"\"", "times x", "Length divided by 0.9", Change, true},
    {":", "times x", "Angle times 0.9", Change, true},
    {";", "times x", "Angle divided by 0.9", Change, true},
    {"c", "layer x (1 to 12)", "Next colour (layers 1 to 11 in turn)", Change, true},
    {"[", "", "Save the turtle's state: start a branch", Structure, true},
    {"]", "", "Restore the saved state: end the branch", Structure, true},
    {"{", "", "Start a polygon", Structure, true},
    {"}", "", "Close and fill the polygon", Structure, true},
    {"@", "", "Lengths, angle and thickness times the fraction until the next @ (a fractional step)", Special, true},
    {"@ line", "", "Ends the definition", Special, false},
    {"@(X,text)", "", "Ends the definition and puts text before every X", Special, false},
    {"#", "", "Comment line", Special, false},
    {"X=...", "", "Rule: X is rewritten into the text after \"=\"", Special, false},
    {"A", "", "Any other character: no command, rewritten by its own rule", Special, false},
}};

void AppendEscaped(std::string& out, std::string_view text)
{
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
}

} // namespace

std::span<const TCommandInfo> CommandTable() { return Table; }

const TCommandInfo* FindTurtleCommand(unsigned char C)
{
    // One entry per character code, so scanning a long production costs a lookup per character.
    static const std::array<const TCommandInfo*, 256> byCharacter = [] {
        std::array<const TCommandInfo*, 256> rows{};
        for (const TCommandInfo& info : Table)
            if (info.Turtle && info.Command.size() == 1) rows[static_cast<unsigned char>(info.Command[0])] = &info;
        return rows;
    }();
    return byCharacter[C];
}

bool TakesParameter(unsigned char C)
{
    const TCommandInfo* info = FindTurtleCommand(C);
    return info && !info->Parameter.empty();
}

std::string_view FamilyName(TCommandFamily Family)
{
    switch (Family) {
    case Draw: return "Drawing";
    case Move: return "Moving";
    case Turn: return "Turning";
    case Change: return "Changing length, angle, thickness and colour";
    case Structure: return "Branches and polygons";
    case Special: return "Definition and special characters";
    }
    return {};
}

std::string CommandTableText()
{
    constexpr size_t commandColumn = 13;
    constexpr size_t effectColumn = 76;
    std::string text;
    for (size_t i = 0; i < Table.size(); ++i) {
        const TCommandInfo& row = Table[i];
        if (i == 0 || Table[i - 1].Family != row.Family) {
            if (i != 0) text += '\n';
            text += FamilyName(row.Family);
            text += '\n';
        }
        std::string line = "  ";
        line += row.Command;
        line.resize(std::max(commandColumn, line.size() + 1), ' ');
        line += row.Effect;
        if (!row.Parameter.empty()) {
            line.resize(std::max(effectColumn, line.size() + 2), ' ');
            line += "(x): ";
            line += row.Parameter;
        }
        text += line + '\n';
    }
    return text;
}

std::string CommandTableHtml()
{
    std::string html = "<tr><th>Command</th><th>What it does</th><th>With (x)</th></tr>\n";
    for (size_t i = 0; i < Table.size(); ++i) {
        const TCommandInfo& row = Table[i];
        if (i == 0 || Table[i - 1].Family != row.Family) {
            html += "<tr><th colspan=\"3\" class=\"family\">";
            AppendEscaped(html, FamilyName(row.Family));
            html += "</th></tr>\n";
        }
        html += "<tr><td><tt>";
        AppendEscaped(html, row.Command);
        html += "</tt></td><td>";
        AppendEscaped(html, row.Effect);
        html += "</td><td>";
        AppendEscaped(html, row.Parameter);
        html += "</td></tr>\n";
    }
    return html;
}

} // namespace verdel
