#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/run_cli.h"

using namespace verdel::test;

namespace {

namespace fs = std::filesystem;

// A request to the batch tool: its words ("S:name" a bundled sample, "F:name"
// a test fixture, "T:name" a file in the test's own folder; a first word
// "ulimit" runs it in 100 MB of address space), the exit status and the words
// its output must contain.
struct TRequest {
    const char* Args;
    int Exit;
    std::vector<std::string> Says;
};

const std::string NoR9 = "the definition has no constant 'r9' (no line \"#define r9 ...\")\n";

const TRequest Requests[] = {
    // What succeeds: produce never asks about the output size, stats says what it made.
    {"produce F:lf.vd", 0, {"F[+F][+F[+F]]\n"}},
    {"produce F:crlf.vd", 0, {"F[+F][+F[+F]]\n"}},
    {"produce F:large_output.vd", 0, {}},
    {"stats --yes F:large_output.vd", 0, {}},
    {"stats F:crlf.vd",
     0,
     {"iterations: 2\nproduction_length: 13\nobjects: 4\nfaces: 64\nlayers: 1\nmin: ", "\nmax: "}},
    {"stats --blocks F:lf.vd", 0, {"faces: 24\n"}},
    {"stats S:pyramids.vd", 0, {"objects: 0\n"}},
    {"stats --pyramids S:pyramids.vd", 0, {"objects: 160\n"}},
    {"--version", 0, {"verdel-cli " VERDEL_VERSION "\n"}},
    {"commands",
     0,
     {"Drawing\n  F ", "\n  t          Tropism", "\n  ?          Thickness divided by 0.7",
      "\n  Q          Draw a cone", "\nDefinition and special characters\n", "\n  #          Comment line"}},
    {"commands --html",
     0,
     {"<tr><th>Command</th>", "<tr><td><tt>&amp;</tt></td><td>Pitch down</td><td>by x degrees</td></tr>"}},
    {"breed F:overflow.vd --seed 5 --size 20x20 --sheet T:refused.jpg",
     0,
     {"parent: Production String Exceeded Maximum Length\n", "child 8: "}},
    // No command, or one that does not exist or lacks its file.
    {"", 1, {}},
    {"frobnicate x", 1, {}},
    {"stats", 1, {}},
    {"mutate", 1, {}},
    // Definitions that are missing, invalid, too long or that the turtle refuses.
    {"stats F:no_such_file.vd", 1, {"no_such_file.vd"}},
    {"stats /dev/zero", 1, {"/dev/zero: the file is larger than 16 MB, the most that is read"}},
    {"stats F:invalid.vd",
     2,
     {"Please Check Input Data\nError Reading Thickness Value\nLine 3: \"@\" is not a number"}},
    {"produce F:invalid.vd", 2, {"Error Reading Thickness Value\nLine 3: "}},
    {"produce F:overflow.vd", 3, {"Production String Exceeded Maximum Length"}},
    {"stats F:large_output.vd", 3, {"Estimated Output File Size: 8,519,680\nDo you wish to continue?"}},
    {"stats F:bad_parameter.vd",
     4,
     {"'1.2.3' is not a valid floating point value\nLine 4, column 4: the parameter \"(1.2.3)\" is not a number"}},
    // --define reaches every subcommand that reads a definition, and is refused before anything is written.
    {"produce S:book/monopodial_2_6.vd --define r9=1 --seed 3", 1, {NoR9}},
    {"stats S:book/monopodial_2_6.vd --define r9=1", 1, {NoR9}},
    {"dxf S:book/monopodial_2_6.vd -o T:x.dxf --define r9=1", 1, {NoR9}},
    {"render S:book/monopodial_2_6.vd -o T:x.bmp --define r9=1", 1, {NoR9}},
    {"export S:book/monopodial_2_6.vd -o T:x.obj --define r9=1", 1, {NoR9}},
    {"grow S:book/monopodial_2_6.vd -o T:frames --frames 1 --define r9=1", 1, {NoR9}},
    {"produce S:book/monopodial_2_6.vd --define r2=2", 2, {}}, // outside its range [0.3, 1]
    // Model files that are missing or refused: exit 6 with the file's name and the reason.
    {"stats /no/such/file.dxf", 1, {"/no/such/file.dxf"}},
    {"stats T:broken.dxf", 6, {"broken.dxf, line 10: layer 14 outside 1..12"}},
    {"stats T:broken.glb", 6, {"broken.glb: "}},
    {"render T:empty.stl -o T:out.bmp", 6, {"empty.stl: "}},
    {"export T:broken.glb -o T:out.obj", 6, {"broken.glb: "}},
    {"render F:truncated_polyline.dxf -o T:x.bmp", 6, {"truncated_polyline.dxf"}},
    // Outputs that cannot be written, and a picture too large for the memory: a message, not an abort.
    {"dxf S:hilbert3d.vd -o /no/such/folder/x.dxf", 5, {"/no/such/folder/x.dxf"}},
    {"render S:fern.vd -o /no/such/folder/x.bmp --yes", 5, {"x.bmp"}},
    {"export S:hilbert3d.vd -o /no/such/folder/h.obj",
     5,
     {"/no/such/folder/h.obj: the folder /no/such/folder does not exist"}},
    {"export S:hilbert3d.vd -o T:h.dxf", 1, {"h.dxf: the output file must end in .obj, .stl, .ply, .gltf or .glb"}},
    {"export S:tree.vd -o T:t.obj", 3, {"Estimated Output File Size"}},
    {"export F:invalid.vd -o T:i.obj", 2, {"Error Reading Thickness Value"}},
    {"ulimit render --yes S:tree.vd -o T:huge.bmp --size 8192x4096", 7, {"Out of memory"}},
    // render's options.
    {"render S:fern.vd -o T:x.gif --yes", 1, {".bmp, .jpg or .png"}},
    {"render S:fern.vd -o T:x.bmp --antialias 9 --yes", 1, {"--antialias"}},
    {"render S:fern.vd -o T:x.bmp --size 800x4097 --yes", 1, {"height 1 to 4096"}},
    {"render S:fern.vd -o T:x.bmp --back 12345G --yes", 1, {"--back"}},
    {"render S:fern.vd -o T:x.bmp --turn 1,2 --yes", 1, {"--turn"}},
    {"render S:fern.vd -o T:x.bmp --mode shiny --yes", 1, {"shiny"}},
    {"render S:fern.vd -o T:x.bmp --mode texture --textures /nonexistent --yes", 1, {"Text01.jpg"}},
    {"render F:invalid.vd -o T:x.bmp", 2, {"Error Reading Thickness Value"}},
    // grow's options.
    {"grow S:tree.vd --frames 0 -o T:frames", 1, {"--frames"}},
    {"grow S:tree.vd --frames 3 --from -1 -o T:frames", 1, {"--from must be an iteration value of 0 or more: -1"}},
    {"grow S:tree.vd --frames 3 --to x -o T:frames", 1, {"--to must be an iteration value of 0 or more: x"}},
    {"grow F:invalid.vd --frames 3 -o T:frames", 2, {"Please Check Input Data\nError Reading Thickness Value"}},
    {"grow F:truncated_polyline.dxf --frames 3 -o T:frames", 1, {"grow needs a definition file"}},
    {"grow S:tree.vd --frames 3 --size 10 -o T:frames", 1, {"--size must be WIDTHxHEIGHT"}},
    {"grow S:tree.vd --frames 3 -o T:frames", 3, {"Do you wish to continue? No (pass --yes to continue)"}},
    {"grow F:overflow.vd --frames 3 -o T:frames", 3, {"Production String Exceeded Maximum Length"}},
    // breed's options.
    {"breed S:bush.vd --seed 1 --picks 3,9 -o T:b.vd", 1, {"--picks must be children 1 to 8"}},
    {"breed S:bush.vd --seed 1 --picks 2+2 -o T:b.vd", 1, {"--picks must be children 1 to 8"}},
    {"breed S:bush.vd --seed 1 --bar radiation=11 -o T:b.vd",
     1,
     {"Bar 'radiation' takes a whole number from 0 thru 10, not '11'"}},
    {"breed S:bush.vd --seed 1 --bar colour=1 -o T:b.vd", 1, {"Unknown bar 'colour'"}},
    {"breed S:bush.vd --seed 1 --sheet T:x.jpg --size 0x5 -o T:b.vd", 1, {"--size must be WIDTHxHEIGHT"}},
    {"breed S:bush.vd --seed 1 --sheet T:x.jpg --size 2049x100 -o T:b.vd",
     1,
     {"width 1 to 2048 and height 1 to 1536: 2049x100"}},
    {"breed S:bush.vd --seed 1 --sheet T:x.jpg --size 100x1537 -o T:b.vd",
     1,
     {"width 1 to 2048 and height 1 to 1536: 100x1537"}},
    {"breed F:invalid.vd --seed 1 -o T:b.vd", 2, {"Please Check Input Data\nError Reading Thickness Value\nLine 3: "}},
    // random's bars and locks.
    {"random --seed 1 --bar rules=19", 1, {"Bar 'rules' takes a whole number from 0 thru 18, not '19'\n"}},
    {"random --seed 1 --bar draw=1", 1, {"Bar 'draw' takes a whole number from 2 thru 12, not '1'\n"}},
    {"random --seed 1 --bar polys=x", 1, {"Bar 'polys' takes a whole number from 1 thru 10, not 'x'\n"}},
    {"random --seed 1 --bar radiation=3",
     1,
     {"Unknown bar 'radiation'; bars: rules, rulelength, interaction, draw, move, orient, color, branch, polys\n"}},
    {"random --seed 1 --bar rules", 1, {"--bar expects NAME=VALUE, not 'rules'\n"}},
    {"random --seed 1 --lock rules=13", 1, {"13 is not acceptable\nValid entries are 2 thru 12\n"}},
    {"random --seed 1 --lock angle=abc", 1, {"abc is not acceptable\nValid entries are 1 thru 90\n"}},
    {"random --seed 1 --lock seed=3", 1, {"Unknown lock 'seed'; locks: iterations, angle, thickness, rules, axiom\n"}},
    {"random --seed 1 --lock axiom=", 2, {"seed: 1\nPlease Check Input Data\nBlank Line in File\n"}},
    // mutate's file and bars.
    {"mutate F:invalid.vd --seed 1", 2, {"seed: 1\nPlease Check Input Data\nError Reading Thickness Value\n"}},
    {"mutate S:tree.vd --bar recursion=6", 1, {"Bar 'recursion' takes a whole number from 0 thru 5, not '6'\n"}},
    {"mutate S:tree.vd --times 0", 1, {"--times"}},
};

// The regular files under Folder, by path.
std::vector<std::string> FilesUnder(const std::string& Folder)
{
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(Folder))
        if (entry.is_regular_file()) files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

// Every request exits with its status and says its words; a refused one leaves no file behind.
TEST(CliFailures, EveryRefusalHasItsStatusAndMessageAndWritesNothing)
{
    const TTempFolder folder("cli-failures");
    WriteWholeFile(folder / "broken.dxf", "0\nSECTION\n2\nENTITIES\n0\nPOLYLINE\n66\n1\n8\n14\n");
    WriteWholeFile(folder / "broken.glb", "glTF but nothing after it");
    WriteWholeFile(folder / "empty.stl", "");
    for (const TRequest& request : Requests) {
        SCOPED_TRACE(request.Args);
        std::vector<std::string> args{VERDEL_CLI};
        for (const std::string& word : Words(request.Args)) {
            const std::string rest = word.size() > 2 ? word.substr(2) : "";
            args.push_back(word.rfind("S:", 0) == 0   ? Sample(rest)
                           : word.rfind("F:", 0) == 0 ? Fixture(rest)
                           : word.rfind("T:", 0) == 0 ? folder / rest
                                                      : word);
        }
        if (args.size() > 1 && args[1] == "ulimit") {
#ifdef VERDEL_ADDRESS_SANITIZER // its shadow memory does not fit an address-space limit
            continue;
#endif
            args.erase(args.begin() + 1);
            args.insert(args.begin(), {"/bin/sh", "-c", "ulimit -v 100000 && exec \"$0\" \"$@\""});
        }
        const std::vector<std::string> before = FilesUnder(folder.Path());
        const TCliRun run = RunProgram(args);
        EXPECT_EQ(run.Exit, request.Exit) << run.Err;
        for (const std::string& words : request.Says)
            EXPECT_NE((run.Out + run.Err).find(words), std::string::npos) << run.Out << run.Err;
        if (request.Exit != 0) {
            EXPECT_EQ(FilesUnder(folder.Path()), before);
        }
    }
}

// --seed reaches the rewriting of a stochastic definition, --define the model.
TEST(CliFailures, SeedAndDefineChangeWhatIsMade)
{
    const std::string plant = Sample("book/stochastic_1_27.vd"), tree = Sample("book/monopodial_2_6.vd");
    const std::string seed1 = RunCli({"produce", plant, "--seed", "1"}).Out;
    EXPECT_EQ(RunCli({"produce", plant, "--seed", "1"}).Out, seed1);
    EXPECT_NE(RunCli({"produce", plant, "--seed", "2"}).Out, seed1);
    EXPECT_NE(RunCli({"stats", tree, "--define", "r2=0.9"}).Out, RunCli({"stats", tree}).Out);
}
