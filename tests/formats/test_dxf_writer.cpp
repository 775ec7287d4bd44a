// The DXF writer's numbers and refusals; the files it writes of every sample
// are pinned byte for byte by the golden outputs and read by ezdxf.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "formats/dxf_writer.h"
#include "support/turtle_run.h"

using namespace verdel;
using namespace verdel::test;

TEST(FormatDXFNumber, TenDecimalsOrAPlainInteger)
{
    const std::vector<std::pair<double, const char*>> cases = {
        {0.5, "0.5000000000"}, {-1.25, "-1.2500000000"}, {0.1f, "0.1000000015"},     {2.0, "2"},
        {-2.0, "-2"},          {3.0, "3"},               {0.0, "0"},                   {-0.0, "0"},
        {2.5, "2.5000000000"}, {1e10, "10000000000"},    {-3.5355339f, "-3.5355339050"}, {1e-11, "0.0000000000"},
        {123456.75, "123456.7500000000"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(FormatDXFNumber(value), text) << text;
}

TEST(WriteDXF, OnlyTheDxfKindWritesAndFaultsAreErrors)
{
    TTurtleRun run = RunTurtle("F");
    const std::string name = ::testing::TempDir() + "verdel-kind-" + std::to_string(getpid()) + ".dxf";
    std::remove(name.c_str());
    WriteDXFFile(*run.Store, name, "DXF");
    EXPECT_FALSE(std::ifstream(name).good());
    WriteDXFFile(*run.Store, name, "dxf");
    EXPECT_TRUE(std::ifstream(name).good());
    std::remove(name.c_str());
    try {
        WriteDXFFile(*run.Store, "/no/such/folder/tree.dxf", "dxf");
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("/no/such/folder/tree.dxf"), std::string::npos);
    }
    // A coordinate that is not a number is refused, not written.
    run.Store->Object(1).ModelFaces->Corners[0].X = std::nanf("");
    std::ostringstream out;
    EXPECT_THROW(WriteDXF(out, *run.Store), std::runtime_error);
}
