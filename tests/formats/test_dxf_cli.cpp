#include <gtest/gtest.h>

#include <fstream>

#include "support/run_cli.h"

using namespace verdel::test;

TEST(CliDxf, WritesTheModelAndItsStatisticsReadBack)
{
    const std::string out = ::testing::TempDir() + "verdel-cli-hilbert.dxf";
    const TCliRun write = RunCli({"dxf", Sample("hilbert3d.vd"), "-o", out});
    ASSERT_EQ(write.Exit, 0) << write.Err;

    const TCliRun fromDxf = RunCli({"stats", out});
    const TCliRun fromVd = RunCli({"stats", Sample("hilbert3d.vd")});
    EXPECT_EQ(fromDxf.Exit, 0);
    EXPECT_NE(fromDxf.Out.find("iterations: 0\nproduction_length: 0\n"), std::string::npos);
    // Objects, faces, layers and bounds agree with the generated model.
    EXPECT_EQ(fromDxf.Out.substr(fromDxf.Out.find("objects:")), fromVd.Out.substr(fromVd.Out.find("objects:")));
    std::remove(out.c_str());
}
