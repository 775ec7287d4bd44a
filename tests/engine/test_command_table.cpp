// The command table against the turtle: every character the turtle acts on is
// listed, every listed command acts, and the parameter column says which read "(x)".
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "engine/command_table.h"
#include "engine/text_number.h"
#include "engine/turtle.h"
#include "support/files.h"

using namespace verdel;

namespace {

// What the turtle leaves after running Production with every solid on and a
// fraction of 0.5: each object's layer and corners, then its final lengths,
// angle, thickness and colour.
std::string Outcome(const std::string& production)
{
    auto store = std::make_unique<TFaceStore>();
    auto state = std::make_unique<TDefinitionState>();
    ParseDefinition(*state, {"1.5", "30", "10", "A", "@"});
    state->Production = production;
    TMeshBuilder builder(*store);
    builder.Reset();
    TRandomSource random;
    random.Seed = 1;
    InterpretProduction(*state, TSolidSettings{true, true, true, true}, builder, random);
    std::ostringstream out;
    out << store->ObjectCount << ':';
    for (int k = 1; k <= store->ObjectCount; ++k) {
        out << " #" << store->Object(k).ColorIndex;
        for (const TFaceNode* face = store->Object(k).ModelFaces; face; face = face->Next)
            for (const TVector& corner : face->Corners) out << ' ' << corner.X << ',' << corner.Y << ',' << corner.Z;
    }
    out << " | " << state->SegmentLength << ' ' << state->HalfLength << ' ' << state->TurnAngle << ' '
        << state->Thickness << ' ' << state->ColorIndex;
    return out.str();
}

// Whether the turtle acts on C: in one of the probes the outcome with C differs
// from the outcome without it. The first probe tilts the heading (so "$" and "t"
// act), draws after C and returns from a branch; the second closes a polygon.
bool TurtleActsOn(char c)
{
    static const std::pair<std::string, std::string> probes[] = {
        {"&(30)+(20)[+F ", " F]F"},
        {"{f+f ", " +f}"},
    };
    for (const auto& [before, after] : probes)
        if (Outcome(before + c + after) != Outcome(before + after)) return true;
    return false;
}

// Whether the turtle reads a parameter after C: "(x)" is no number and stops the run.
bool ReadsParameter(char c)
{
    try {
        Outcome(std::string(1, c) + "(x)");
    } catch (const EConvertError&) {
        return true;
    }
    return false;
}

} // namespace

TEST(CommandTable, ListsEveryCharacterTheTurtleActsOnAndNoOther)
{
    for (int code = 33; code <= 126; ++code) {
        const char c = static_cast<char>(code);
        SCOPED_TRACE(std::string("character ") + c);
        EXPECT_EQ(FindTurtleCommand(static_cast<unsigned char>(c)) != nullptr, TurtleActsOn(c));
    }
}

TEST(CommandTable, ParameterColumnSaysWhichCommandsReadOne)
{
    for (int code = 33; code <= 126; ++code) {
        const auto c = static_cast<unsigned char>(code);
        if (!FindTurtleCommand(c)) continue;
        SCOPED_TRACE(std::string("command ") + static_cast<char>(c));
        EXPECT_EQ(TakesParameter(c), ReadsParameter(static_cast<char>(c)));
    }
}

TEST(CommandTable, HelpPageHoldsTheTable)
{
    const std::string page = test::ReadWholeFile(VERDEL_DATA "/help/commands.html");
    const std::string begin = "<!-- the command table (verdel-cli commands --html) -->\n";
    const std::string end = "<!-- end of the command table -->";
    const size_t from = page.find(begin), to = page.find(end);
    ASSERT_NE(from, std::string::npos);
    ASSERT_NE(to, std::string::npos);
    EXPECT_EQ(page.substr(from + begin.size(), to - from - begin.size()), CommandTableHtml())
        << "regenerate it with: verdel-cli commands --html";
}
