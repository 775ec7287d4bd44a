#include <gtest/gtest.h>

#include "engine/production_warnings.h"

using namespace verdel;

TEST(ProductionWarnings, UnbalancedBracketsAndSolidsThatAreOff)
{
    const TSolidSettings off;                        // Q, W and R draw nothing
    const TSolidSettings on{true, true, true, true}; // they all draw
    struct TCase {
        const char* Name;
        const char* Production;
        TSolidSettings Settings;
        std::vector<std::string> Warnings;
    };
    const std::vector<TCase> cases = {
        {"balanced and plain", "F[+F][-F]{f+f+f}F", off, {}},
        {"four closers too many", "F]]]]", off, {"Unbalanced \"[\" \"]\": 4 \"]\" without a matching \"[\""}},
        {"a closer before its opener counts",
         "][",
         off,
         {"Unbalanced \"[\" \"]\": 1 \"]\" without a matching \"[\"", "Unbalanced \"[\" \"]\": 1 \"[\" never closed"}},
        {"open polygon", "{f+f+f", off, {"Unbalanced \"{\" \"}\": 1 \"{\" never closed"}},
        {"stray polygon end", "F}", off, {"Unbalanced \"{\" \"}\": 1 \"}\" without a matching \"{\""}},
        {"Q, W and R while off",
         "QWRQ",
         off,
         {"Q draws nothing while \"Set Q = Draw Cone\" is off (Options > General)",
          "W draws nothing while \"Set W = Draw Block\" is off (Options > General)",
          "R draws nothing while \"Set R = Draw Pyramid\" is off (Options > General)"}},
        {"Q, W and R while on", "QWR", on, {}},
        {"only the solid that is off",
         "QR",
         TSolidSettings{true, true, false, false},
         {"R draws nothing while \"Set R = Draw Pyramid\" is off (Options > General)"}},
        // A parameter's text is no command, as the turtle skips it.
        {"inside a parameter", "F(])c(Q)", off, {}},
        {"unclosed parameter runs to the end", "F(]]", off, {}},
        {"a bracket after a parameter counts",
         "+(30)]",
         off,
         {"Unbalanced \"[\" \"]\": 1 \"]\" without a matching \"[\""}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(ProductionWarnings(c.Production, c.Settings), c.Warnings);
    }
}
