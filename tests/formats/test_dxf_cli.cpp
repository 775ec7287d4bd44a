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

TEST(CliDxf, ExitStatusesForWriteErrorsAndRejectedFiles)
{
    const TCliRun write = RunCli({"dxf", Sample("hilbert3d.vd"), "-o", "/no/such/folder/x.dxf"});
    EXPECT_EQ(write.Exit, 5);
    EXPECT_NE(write.Err.find("/no/such/folder/x.dxf"), std::string::npos);

    const std::string broken = ::testing::TempDir() + "verdel-broken.dxf";
    std::ofstream(broken) << "0\nSECTION\n2\nENTITIES\n0\nPOLYLINE\n66\n1\n8\n14\n";
    const TCliRun rejected = RunCli({"stats", broken});
    EXPECT_EQ(rejected.Exit, 6);
    EXPECT_EQ(rejected.Err, "verdel-broken.dxf, line 10: layer 14 outside 1..12\n");
    std::remove(broken.c_str());

    EXPECT_EQ(RunCli({"stats", "/no/such/file.dxf"}).Exit, 1);
}

// Once objects with infinite corners reached the writer, which refused them
// with exit status 5 as if the output file were at fault.
TEST(CliDxf, RegressionATurtleOverflowLeavesObjectsOutAndWritesTheRest)
{
    const std::string out = ::testing::TempDir() + "verdel-overflowing.dxf";
    const TCliRun run = RunCli({"dxf", Fixture("overflowing_turtle.vd"), "-o", out});
    EXPECT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(run.Err, "note: 2 objects left out of the model: a coordinate was not a finite number\n");
    const TCliRun stats = RunCli({"stats", out});
    EXPECT_EQ(stats.Exit, 0) << stats.Err;
    EXPECT_NE(stats.Out.find("objects: 2\n"), std::string::npos) << stats.Out;
    std::remove(out.c_str());
}
