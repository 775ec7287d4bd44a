// Navigation: buttons, mouse drags, the wheel and keys in one table of
// events and the view they leave; Home, Fit, and the names proposed for exports.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "render/gmp.h"
#include "render/scene_builder.h"
#include "viewer/export_names.h"
#include "viewer/navigation.h"
#include "viewer/pointer_navigation.h"
#include "viewer/view_preparation.h"

using namespace verdel;

namespace {

// Records what the navigator asks of the window and really turns the stores'
// corners; timers are flags the test fires by hand.
class TFakeHost : public TNavigationHost {
public:
    void DrawStore(TFaceStore& Store, bool ShowWait) override
    {
        Log << (&Store == Box ? "B" : "M") << (ShowWait ? "* " : " ");
    }
    void SetWireframe(bool On) override { Wireframe = On; }
    void RotateScene(TFaceStore& Store, bool FX, bool FY, bool FZ, float AX, float AY, float AZ) override
    {
        Log << (&Store == Box ? "B" : "M") << "turn";
        const bool about[3] = {FX, FY, FZ};
        const float angle[3] = {AX, AY, AZ};
        for (int a = 0; a < 3; ++a)
            if (about[a]) Log << "xyz"[a] << std::lround(angle[a] / TNavigator::SmallStep);
        Log << ' ';
        TGMP::RotateScene(Store, FX, FY, FZ, AX, AY, AZ);
    }
    void SetRepeatTimer(bool Enabled) override { Repeat = Enabled; }
    void SetSettleTimer(bool Enabled, int) override
    {
        Settle = Enabled;
        SettleStarts += Enabled;
    }
    bool ModelInUse() override { return InUse; }

    const TFaceStore* Box = nullptr;
    std::ostringstream Log; // draws ("B" the box, "M" the model, "*" with the wait cursor) and turns in small steps
    bool Wireframe = false, Repeat = false, Settle = false, InUse = false;
    int SettleStarts = 0;
};

// A model whose bounds are max (4, 2, 1), min (0, 0, 0), viewed as the viewer
// prepares it: steps of 0.4, 0.4 and 0.267, at z = -8 and the near limit at -54.
struct TScene {
    std::unique_ptr<TFaceStore> Model = std::make_unique<TFaceStore>();
    std::unique_ptr<TFaceStore> Outline = std::make_unique<TFaceStore>();
    TFakeHost Host;
    TNavigator Navigator{*Model, *Outline, Host};
    TPointerNavigator Pointer{Navigator, 500};

    explicit TScene(bool live = false)
    {
        Host.Box = Outline.get();
        Navigator.LiveNavigation = live;
        Place({{{0, 0, 0}, {4, 2, 1}, {4, 0, 0}}});
    }

    // The model made of these faces, placed and set up as the viewer does.
    void Place(const std::vector<test::TCorners>& Faces)
    {
        FreeScene(*Model);
        test::AddObject(*Model, LayerColors[1], Faces);
        ComputeBounds(*Model);
        Navigator.Setup(PrepareView(*Model).ModelSize);
    }

    // Runs the events of Script, separated by spaces:
    //   up down left right fwd back tdown tup tleft tright rup rdown   a button pressed (^ before it: with Ctrl)
    //   -  released   t  a repeat tick   s  the settle pause ran out   r  Render   home   reset
    //   busy / free  the model's frame is being drawn or not   done=MS  the model's frame took MS
    //   press=T / press=M  a turning or moving drag from (0, 0)   to=X,Y  the pointer moved   release
    //   wheel=D   key=NAME[+shift][+ctrl][+auto]   keyup=NAME[+auto]   (NAME as TNavigationKey)
    void Run(const std::string& Script)
    {
        static const std::vector<std::string> directions = {"up",    "down", "left",  "right", "fwd", "back",
                                                            "tdown", "tup",  "tleft", "tright", "rup", "rdown"};
        static const std::vector<std::string> keys = {"Left", "Right", "Up",      "Down",  "PageUp",   "PageDown",
                                                      "Home", "Fit",   "Upright", "RollLeft", "RollRight"};
        std::istringstream in(Script);
        for (std::string word; in >> word;) {
            const size_t eq = word.find('=');
            const std::string name = word.substr(0, eq), arg = eq == std::string::npos ? "" : word.substr(eq + 1);
            int x = 0, y = 0;
            std::sscanf(arg.c_str(), "%d,%d", &x, &y);
            const bool ctrl = name[0] == '^';
            const auto dir = std::find(directions.begin(), directions.end(), name.substr(ctrl));
            const auto key = std::find(keys.begin(), keys.end(), arg.substr(0, arg.find('+')));
            const auto with = [&](const char* modifier) { return arg.find(modifier) != std::string::npos; };
            if (dir != directions.end()) Navigator.ButtonDown(TDirection(dir - directions.begin()), ctrl);
            else if (name == "-") Navigator.ButtonUp();
            else if (name == "t") Navigator.RepeatTick();
            else if (name == "s") Navigator.SettleTimeout();
            else if (name == "r") Navigator.RenderRequested();
            else if (name == "home") Navigator.ReturnHome();
            else if (name == "reset") Navigator.Reset();
            else if (name == "busy" || name == "free") Host.InUse = name == "busy";
            else if (name == "done") Navigator.ModelFrameDone(std::stod(arg));
            else if (name == "press") Pointer.Press(arg == "T" ? TDrag::Turn : TDrag::Move, 0, 0);
            else if (name == "to") Pointer.Move(x, y);
            else if (name == "release") Pointer.Release();
            else if (name == "wheel") Pointer.Wheel(x);
            else if (name == "key" && key != keys.end())
                EXPECT_TRUE(Pointer.KeyDown(TNavigationKey(key - keys.begin()), with("+shift"), with("+ctrl"),
                                            with("+auto"), 800, 600));
            else if (name == "keyup" && key != keys.end()) Pointer.KeyUp(TNavigationKey(key - keys.begin()), with("+auto"));
            else ADD_FAILURE() << "no such event: " << word;
        }
    }

    // The view: the log of draws and turns, the model's second corner (to two
    // places) and place, the box's place, the counted steps and turns (in
    // small steps), and the timers.
    std::string State() const
    {
        std::ostringstream out;
        const TNavigator& n = Navigator;
        const TVector corner = Model->Object(1).ModelFaces->Corners[1];
        out << Host.Log.str() << "| corner " << std::round(corner.X * 100) / 100 << ' '
            << std::round(corner.Y * 100) / 100 << ' ' << std::round(corner.Z * 100) / 100 << " model "
            << Model->TranslateX << ' ' << Model->TranslateY << ' '
            << Model->TranslateZ << " box " << Outline->TranslateX << ' ' << Outline->TranslateY << ' '
            << Outline->TranslateZ << " | moves " << n.MovesX << ' ' << n.MovesY << ' ' << n.MovesZ << " turns "
            << std::lround(n.TurnX / TNavigator::SmallStep) << ' ' << std::lround(n.TurnY / TNavigator::SmallStep)
            << ' ' << std::lround(n.TurnZ / TNavigator::SmallStep) << (Host.Wireframe ? " | wire" : " |")
            << (Host.Repeat ? " repeat" : "") << (Host.Settle ? " settle " : " ") << Host.SettleStarts << ' '
            << n.SettleIntervalMs();
        return out.str();
    }
};

} // namespace

TEST(Navigation, EventsGiveTheirView)
{
    const struct {
        bool Live;
        const char* Script;
        const char* View;
    } rows[] = {
        // Buttons: the box takes each step in wireframe; the model takes the counted steps after the pause.
        // The model starts nearer than the near limit: the final render takes it back there, drawing the box first.
        {false, "", "| corner 4 2 1 model -2 -1 -8 box -2 -1 -8 | moves 0 0 0 turns 0 0 0 | 0 1000"},
        {false, "fwd", "B | corner 4 2 1 model -2 -1 -8 box -2 -1 -54 | moves 0 0 1 turns 0 0 0 | wire repeat settle 1 1000"},
        {false, "fwd - s", "B B M* | corner 4 2 1 model -2 -1 -54 box -2 -1 -54 | moves 0 0 0 turns 0 0 0 | 1 2000"},
        {false, "back", "B | corner 4 2 1 model -2 -1 -8 box -2 -1 -8.26667 | moves 0 0 -1 turns 0 0 0 | wire repeat settle 1 1000"},
        {false, "up t t - s", "B B B B M* | corner 4 2 1 model -2 0.2 -54 box -2 0.2 -54 | moves 0 0 0 turns 0 0 0 | 3 2000"},
        {false, "down left right", "B B B | corner 4 2 1 model -2 -1 -8 box -2 -2.2 -8 | moves 0 -3 0 turns 0 0 0 | wire repeat settle 3 1000"},
        // Ctrl makes the first turn 45 degrees; a press while a button is held steps the held direction.
        {false, "^tleft t t up", "Bturny18 B Bturny1 B Bturny1 B Bturny1 B | corner 4 2 1 model -2 -1 -8 box -2 -1 -8 | moves 0 0 0 turns 0 21 0 | wire repeat settle 4 1000"},
        {false, "tright tup rdown - s", "Bturny-1 B Bturny-1 B Bturny-1 B Mturny-3 B M* | corner 3.84 2 1.51 model -2 -1 -54 box -2 -1 -54 | moves 0 0 0 turns 0 0 0 | 3 2000"},
        // The final render turns about z and x in one call and adds the net moves.
        {false, "tdown - rup - left - left - right - s", "Bturnx1 B Bturnz1 B B B B Mturnx1z1 B M* | corner 3.91 2.13 1.09 model -1.6 -1 -54 box -1.6 -1 -54 | moves 0 0 0 turns 0 0 0 | 5 2000"},
        // Render acts only while the final render is pending, at once.
        {false, "r", "| corner 4 2 1 model -2 -1 -8 box -2 -1 -8 | moves 0 0 0 turns 0 0 0 | 0 1000"},
        {false, "left - r", "B B M* | corner 4 2 1 model -1.6 -1 -54 box -1.6 -1 -54 | moves 0 0 0 turns 0 0 0 | 1 2500"},
        // Live: the model moves and is drawn at once; the pause draws nothing more.
        {true, "left - s", "M | corner 4 2 1 model -1.6 -1 -54 box -1.6 -1 -54 | moves 0 0 0 turns 0 0 0 | 1 2000"},
        {true, "done=40 tdown", "Bturnx1 Mturnx1 M | corner 4 1.95 1.09 model -2 -1 -54 box -2 -1 -54 | moves 0 0 0 turns 0 0 0 | repeat settle 1 1000"},
        {true, "done=40.01 tdown", "Bturnx1 B | corner 4 2 1 model -2 -1 -8 box -2 -1 -8 | moves 0 0 0 turns 1 0 0 | wire repeat settle 1 1000"},
        // Work on the model waits while its frame is drawn, then goes in one turn; a frame with nothing waiting changes nothing.
        {true, "busy tleft t t free done=12 done=15", "Bturny1 Bturny1 Bturny1 Mturny3 M | corner 4.1 2 0.47 model -2 -1 -54 box -2 -1 -54 | moves 0 0 0 turns 0 0 0 | repeat settle 3 1000"},
        {false, "up - busy s", "B | corner 4 2 1 model -2 -1 -8 box -2 -0.6 -8 | moves 0 1 0 turns 0 0 0 | wire 1 2000"},
        {false, "up - busy s free done=90", "B B M* | corner 4 2 1 model -2 -0.6 -54 box -2 -0.6 -54 | moves 0 0 0 turns 0 0 0 | 1 2000"},
        {true, "busy left reset free done=5", "| corner 4 2 1 model -2 -1 -8 box -1.6 -1 -8 | moves 0 0 0 turns 0 0 0 | 1 1000"},
        // Drags: 4 pixels a turn step, 25 a move step (0.4 at a distance of 8, focal length 500); no repeat timer.
        {false, "press=T to=-12,0 release press=T to=13,5 release", "Bturny1 B Bturny1 B Bturny1 B Bturny-1 B Bturny-1 B Bturny-1 B Bturnx1 B | corner 4 2 1 model -2 -1 -8 box -2 -1 -8 | moves 0 0 0 turns 1 0 0 | wire settle 7 1000"},
        {false, "press=M to=-1,-1 to=-50,-25 release press=M to=74,75", "B B B B B B B B | corner 4 2 1 model -2 -1 -8 box -2 -1.8 -8 | moves 0 -2 0 turns 0 0 0 | wire settle 8 1000"},
        // Pixels short of a step carry over until release.
        {false, "press=T to=3,0 to=5,0 to=8,0 to=5,0 release to=100,100", "Bturny-1 B Bturny-1 B | corner 4 2 1 model -2 -1 -8 box -2 -1 -8 | moves 0 0 0 turns 0 -2 0 | wire settle 2 1000"},
        // The wheel: a step nearer or farther a notch of 120.
        {false, "wheel=60 wheel=60 wheel=60", "B | corner 4 2 1 model -2 -1 -8 box -2 -1 -54 | moves 0 0 1 turns 0 0 0 | wire settle 1 1000"},
        {false, "wheel=-240 wheel=15 wheel=105", "B B B | corner 4 2 1 model -2 -1 -8 box -2 -1 -54 | moves 0 0 -1 turns 0 0 0 | wire settle 3 1000"},
        // Keys act as held buttons; the system's repeats are ignored, a second key while one is held too.
        {false, "key=Left key=Left+auto t keyup=Left+auto t key=Up keyup=Up keyup=Left", "Bturny1 B Bturny1 B Bturny1 B | corner 4 2 1 model -2 -1 -8 box -2 -1 -8 | moves 0 0 0 turns 0 3 0 | wire settle 3 1000"},
        {false, "key=Down+ctrl keyup=Down key=PageDown keyup=PageDown key=RollLeft+shift", "Bturnx18 B B Bturnz-1 B | corner 4 2 1 model -2 -1 -8 box -2 -1 -8.26667 | moves 0 0 -1 turns 18 0 -1 | wire repeat settle 3 1000"},
        {false, "key=Right+shift keyup=Right key=Up+shift keyup=Up key=PageUp keyup=PageUp key=RollRight", "B B B Bturnz1 B | corner 4 2 1 model -2 -1 -8 box -2.4 -0.6 -54 | moves -1 1 1 turns 0 0 1 | wire repeat settle 4 1000"},
        {false, "key=Left+shift keyup=Left key=Down+shift keyup=Down", "B B | corner 4 2 1 model -2 -1 -8 box -1.6 -1.4 -8 | moves 1 -1 0 turns 0 0 0 | wire settle 2 1000"},
        // Home: the vertices and place of the first view, live or not, pending steps dropped.
        {false, "^tleft - rup - back - s left - home", "Bturny18 B Bturnz1 B B Mturny18z1 B M* B M* | corner 4 2 1 model -2 -1 -8 box -2 -1 -8 | moves 0 0 0 turns 0 0 0 | settle 4 2000"},
        {true, "^tleft - rup - back - s left - home", "Bturny18 Mturny18 M Bturnz1 Mturnz1 M M M M* | corner 4 2 1 model -2 -1 -8 box -2 -1 -8 | moves 0 0 0 turns 0 0 0 | settle 4 2000"},
        {false, "back - s home", "B B M* M* | corner 4 2 1 model -2 -1 -8 box -2 -1 -8 | moves 0 0 0 turns 0 0 0 | 1 2000"},
        {false, "key=Right keyup=Right key=Up keyup=Up s key=Home", "Bturny-1 B Bturnx-1 B Mturnx-1y-1 B M* M* | corner 4 2 1 model -2 -1 -8 box -2 -1 -8 | moves 0 0 0 turns 0 0 0 | 2 2000"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Script);
        TScene scene(row.Live);
        scene.Run(row.Script);
        EXPECT_EQ(scene.State(), row.View);
    }
}

TEST(Navigation, SetupBuildsTheBoxAndDragStepsStayWithinReach)
{
    TScene scene;
    // Without an outline file the proxy is built: one object, its six faces on the bounding box.
    ASSERT_EQ(scene.Outline->ObjectCount, 1);
    EXPECT_EQ(scene.Outline->Object(1).FaceCount, 6);
    const TFaceNode* top = scene.Outline->Object(1).ModelFaces;
    for (int f = 1; f < 6; ++f) top = top->Next;
    EXPECT_EQ(top->Corners[0], (TVector{0, 2, 1})); // face 6: (mx, My, Mz)
    // A drag's move step: what one step moves the model's middle on screen, from 4 to 100 pixels.
    scene.Outline->TranslateZ = -1000;
    EXPECT_FLOAT_EQ(scene.Navigator.PixelsPerMoveStep(500), 4.0f);
    scene.Outline->TranslateZ = -0.5f;
    EXPECT_FLOAT_EQ(scene.Navigator.PixelsPerMoveStep(500), 100.0f);
}

// Fit (the F key, in a picture of 800 x 600): every corner inside, the model
// centred, the taller side nearly filling the picture. A small model may come
// nearer than the near limit, which follows it, but never so near that a turn
// brings a corner behind the eye.
TEST(Navigation, FitPutsEveryCornerInsideAndTheTallerSideNearlyFilling)
{
    const struct {
        const char* Name;
        std::vector<TVector> Corners;
        double Fill;
    } cases[] = {
        {"tall and thin, beyond the near limit",
         {{0, 0, 0}, {40, 0, 0}, {40, 300, 0}, {0, 300, 0}, {0, 0, 10}, {40, 0, 10}, {40, 300, 10}, {0, 300, 10}},
         0.8},
        {"a unit cube", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}}, 0.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TScene scene(true);
        const auto& p = c.Corners; // the box's six faces
        scene.Place({{p[0], p[1], p[2], p[3]}, {p[4], p[5], p[6], p[7]}, {p[0], p[1], p[5], p[4]},
                     {p[1], p[2], p[6], p[5]}, {p[2], p[3], p[7], p[6]}, {p[3], p[0], p[4], p[7]}});
        const float nearLimit = scene.Navigator.NearLimit;
        scene.Model->TranslateX = scene.Model->TranslateY = 7; // moved off centre: Fit centres it again
        scene.Run("key=Fit");
        const TFaceStore& model = *scene.Model;
        EXPECT_EQ(model.TranslateX, -c.Corners[2].X / 2);
        EXPECT_EQ(model.TranslateY, -c.Corners[2].Y / 2);
        EXPECT_EQ(scene.Outline->TranslateZ, model.TranslateZ);
        EXPECT_EQ(scene.Navigator.NearLimit, std::max(nearLimit, model.TranslateZ));
        EXPECT_EQ(scene.Host.Log.str(), "M* ");
        double top = -300, bottom = 300, radius = 0;
        for (const TVector& q : c.Corners) { // projected as the renderer does, about the middle
            const double z = q.Z + model.TranslateZ;
            const double x = 500 * (q.X + model.TranslateX) / z, y = 500 * (q.Y + model.TranslateY) / z;
            EXPECT_LE(std::fabs(x), 400);
            EXPECT_LE(std::fabs(y), 300);
            top = std::max(top, y), bottom = std::min(bottom, y), radius = std::max<double>(radius, Length(q));
        }
        EXPECT_GT(top - bottom, c.Fill * 600);
        EXPECT_LT(model.TranslateZ + radius, 0);
    }
}

TEST(ExportNames, ProposalAndCorrection)
{
    EXPECT_EQ(DefaultExportName("/data/vdfiles/tree.vd", ".dxf"), "tree.dxf");
    EXPECT_EQ(DefaultExportName("", ".dxf"), ".dxf");
    EXPECT_EQ(DefaultExportName("/a/my.tree.vd", ".dxf"), "my.dxf");
    EXPECT_EQ(CorrectedExportName("/out/tree.bmp", ".jpg"), "/out/tree.jpg");
    EXPECT_EQ(CorrectedExportName("/out/tree", ".bmp"), "/out/tree.bmp");
    EXPECT_EQ(CorrectedExportName("/out/tree.DXF", ".dxf"), std::nullopt);
    EXPECT_EQ(CorrectedExportName("/out.d/a.b.c", ".dxf"), "/out.d/a.dxf");
}
