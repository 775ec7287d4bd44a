#include "engine/turtle.h"

#include <cmath>
#include <string_view>
#include <vector>

#include "engine/angles.h"
#include "engine/primitives.h"
#include "engine/text_number.h"

namespace verdel {

namespace {

constexpr size_t StackCapacity = 1024;
// Commands between two looks at the cancel token, and between two progress reports.
constexpr int PollInterval = 4096;
constexpr int PollsPerReport = 16;
const TVector WorldUp{0, 0, 1};

// What "[" saves and "]" restores.
struct TBranchEntry {
    TVector P, H, U, L;
    int ColorIndex;
    float SegmentLength, TurnAngle, Thickness, HalfLength, TropismFactor;
    TVector TubeEnd;
    std::array<TVector, 16> TubeRing;
};

// An open polygon pushed aside by a nested "{".
struct TPolygonEntry {
    std::vector<TVector> Vertices;
};

class TTurtle {
public:
    TTurtle(TDefinitionState& state, const TSolidSettings& settings, TMeshBuilder& builder, TRandomSource& random,
            const TCancelToken& cancel)
            : S(state), Settings(settings), Builder(builder), Random(random), Cancel(cancel), Text(state.Production)
    {
        BranchStack.reserve(64);
    }

    TTurtleResult Run()
    {
        const auto total = static_cast<int64_t>(Text.size());
        Cancel.Report(TWorkPhase::Interpreting, 0, total);
        int sincePoll = 0;
        int polls = 0;
        for (I = 0; I < Text.size() && !TableFull; ++I) {
            if (++sincePoll == PollInterval) {
                sincePoll = 0;
                if (Cancel.Cancelled()) return {Builder.GeneratedObjects, false, Builder.LeftOutObjects, true};
                if (++polls % PollsPerReport == 0)
                    Cancel.Report(TWorkPhase::Interpreting, static_cast<int64_t>(I), total);
            }
            Command(static_cast<unsigned char>(Text[I]));
        }
        return {Builder.GeneratedObjects, TableFull, Builder.LeftOutObjects};
    }

private:
    void Command(unsigned char ch)
    {
        switch (ch) {
        case 'F': Segment(S.SegmentLength, Settings.Cylinders ? Solid::Tube : Solid::Block); break;
        case 'Z': Segment(S.HalfLength, Settings.Cylinders ? Solid::Tube : Solid::Block); break;
        case 'W': Settings.WBlocks ? Segment(S.SegmentLength, Solid::Block) : SkipParameter(); break;
        case 'Q': Settings.QCones ? Segment(S.SegmentLength, Solid::Cone) : SkipParameter(); break;
        case 'R': Settings.RPyramids ? Segment(S.SegmentLength, Solid::Pyramid) : SkipParameter(); break;
        case 'f': Move(S.SegmentLength, true); break;
        case 'z': Move(S.HalfLength, true); break;
        case 'g': Move(S.SegmentLength, false); break;
        case '.': RecordVertex(); break;
        case '+': Turn(U, -RotationAngle(), H, L); break;
        case '-': Turn(U, RotationAngle(), H, L); break;
        case '&': Turn(L, RotationAngle(), H, U); break;
        case '^': Turn(L, -RotationAngle(), H, U); break;
        case '<': Turn(H, -RotationAngle(), L, U); break;
        case '>': Turn(H, RotationAngle(), L, U); break;
        case '|': Turn(U, HalfTurn, H, L); break;
        case '%': Turn(H, HalfTurn, L, U); break;
        case '$': RollToHorizontal(); break;
        case '~': RandomTurn(); break;
        case 't': Tropism(); break;
        case '!': Scale(S.Thickness, 0.7L, 0.3L, false); break;
        case '?': Scale(S.Thickness, 0.7L, 0.3L, true); break;
        case '\'': ScaleLengths(false); break;
        case '"': ScaleLengths(true); break;
        case ':': Scale(S.TurnAngle, 0.9L, 0.1L, false); break;
        case ';': Scale(S.TurnAngle, 0.9L, 0.1L, true); break;
        case 'c': NextColor(); break;
        case '@': ToggleFractionMode(); break;
        case '[': PushBranch(); break;
        case ']': PopBranch(); break;
        case '{': OpenPolygon(); break;
        case '}': ClosePolygon(); break;
        default:
            // Modules of an extended definition carry parameters of their own: "A(1,2.5)".
            if (ForeignParameters) SkipParameter();
            break;
        }
    }

    enum class Solid { Block, Tube, Cone, Pyramid };

    // Reads a "(x)" right after the command at I, leaving I on its ")".
    bool ReadParameter(long double& value)
    {
        if (I + 1 >= Text.size() || Text[I + 1] != '(') return false;
        const size_t close = Text.find(')', I + 2);
        const size_t end = close == std::string::npos ? Text.size() : close;
        value = TextToFloat(std::string_view(Text).substr(I + 2, end - (I + 2)));
        I = end;
        return true;
    }

    // A command ignored by its setting still consumes its parameter.
    void SkipParameter()
    {
        if (I + 1 >= Text.size() || Text[I + 1] != '(') return;
        const size_t close = Text.find(')', I + 2);
        I = close == std::string::npos ? Text.size() : close;
    }

    // The segment length of a drawing or moving command, "(x)" included.
    float StepLength(float standard)
    {
        long double x;
        if (!ReadParameter(x)) return standard;
        return ToSingle(FractionMode ? x * S.Fraction : x);
    }

    // The angle of a rotation command, "(x)" degrees included.
    float RotationAngle()
    {
        long double x;
        if (!ReadParameter(x)) return S.TurnAngle;
        return ToSingle(x * DegreesToRadians * (FractionMode ? S.Fraction : 1.0f));
    }

    // The factor of a "(x)" increment: x, or (x - 1) f + 1 in fraction mode.
    long double ParameterFactor(long double x) const { return FractionMode ? (x - 1) * S.Fraction + 1 : x; }

    void Segment(float standard, Solid solid)
    {
        const TVector end = PointPlus(P, StepLength(standard), H);
        bool added = true;
        switch (solid) {
        case Solid::Block: added = AddBlock(Builder, S.Thickness, P, end, U, S.ColorIndex); break;
        case Solid::Tube: added = AddCylinder(Builder, S.Thickness, P, end, S.ColorIndex, U, L); break;
        case Solid::Cone: added = AddCone(Builder, S.Thickness, P, end, S.ColorIndex, U, L); break;
        case Solid::Pyramid: added = AddPyramid(Builder, S.Thickness, P, end, S.ColorIndex, U, L); break;
        }
        TableFull = !added;
        P = end;
    }

    void Move(float standard, bool records)
    {
        P = PointPlus(P, StepLength(standard), H);
        if (records) RecordVertex();
    }

    // Rotates a and b about Axis by Angle and normalises both.
    static void Turn(TVector axis, float angle, TVector& a, TVector& b)
    {
        const TMatrix m = RotationMatrix(axis, angle);
        a = Normalise(m * a);
        b = Normalise(m * b);
    }

    void RollToHorizontal()
    {
        // With H vertical, up or down, there is no horizontal left: nothing changes.
        if (Length(H - WorldUp) == 0 || (H.X == 0 && H.Y == 0)) return;
        L = Cross(H, WorldUp);
        U = Cross(H, L);
        if (U.Z < 0) {
            U = -U;
            L = -L;
        }
    }

    void RandomTurn()
    {
        long double x;
        const float amplitude = ReadParameter(x) ? ToSingle(x * DegreesToRadians) : 6.0f;
        auto angle = [&] {
            const auto r = static_cast<float>(Random.NextReal());
            return ToSingle(static_cast<long double>(r) * amplitude * 2 - amplitude);
        };
        Turn(U, angle(), H, L);
        Turn(L, angle(), H, U);
        Turn(H, angle(), L, U);
    }

    void Tropism()
    {
        long double x;
        float k = TropismFactor;
        if (ReadParameter(x)) k = ToSingle(FractionMode ? x * S.Fraction : x);
        if (H.X == 0 && H.Y == 0) return;
        const TVector t = Normalise({-H.X, -H.Y, 0});
        Turn(L, -Dot(H, t) * k, H, U);
    }

    // "!" and ":" multiply by Factor, "?" and ";" divide; in fraction mode the
    // factor becomes 1 - Step x f. A "(x)" multiplies by x for both.
    void Scale(float& value, long double factor, long double step, bool divide)
    {
        long double x;
        if (ReadParameter(x)) {
            value = ToSingle(value * ParameterFactor(x));
            return;
        }
        const long double f = FractionMode ? 1 - step * S.Fraction : factor;
        value = ToSingle(divide ? value / f : value * f);
    }

    void ScaleLengths(bool divide)
    {
        long double x;
        if (ReadParameter(x)) {
            const long double factor = ParameterFactor(x);
            S.SegmentLength = ToSingle(S.SegmentLength * factor);
            S.HalfLength = ToSingle(S.HalfLength * factor);
            return;
        }
        const long double f = FractionMode ? 1 - 0.1L * S.Fraction : 0.9L;
        S.SegmentLength = ToSingle(divide ? S.SegmentLength / f : S.SegmentLength * f);
        S.HalfLength = ToSingle(divide ? S.HalfLength / f : S.HalfLength * f);
    }

    void NextColor()
    {
        long double x;
        if (ReadParameter(x)) {
            const long double index = std::nearbyint(x); // ties to even
            if (index >= 1 && index <= LayerCount) S.ColorIndex = static_cast<int>(index);
            return;
        }
        ++S.ColorIndex;
        if (S.ColorIndex >= 12) S.ColorIndex = 1;
    }

    void ToggleFractionMode()
    {
        FractionMode = !FractionMode;
        if (FractionMode) {
            Saved = {S.Thickness, S.TurnAngle, S.SegmentLength, S.HalfLength};
            S.Thickness *= S.Fraction;
            S.TurnAngle *= S.Fraction;
            S.SegmentLength *= S.Fraction;
            S.HalfLength *= S.Fraction;
        } else {
            S.Thickness = Saved[0];
            S.TurnAngle = Saved[1];
            S.SegmentLength = Saved[2];
            S.HalfLength = Saved[3];
        }
    }

    void PushBranch()
    {
        if (BranchStack.size() == StackCapacity) {
            ++IgnoredBranches;
            return;
        }
        const TLastTube& tube = Builder.LastTube;
        BranchStack.push_back({P, H, U, L, S.ColorIndex, S.SegmentLength, S.TurnAngle, S.Thickness, S.HalfLength,
                               TropismFactor, tube.End, tube.Ring});
    }

    void PopBranch()
    {
        if (IgnoredBranches > 0) {
            --IgnoredBranches;
            return;
        }
        if (BranchStack.empty()) return;
        const TBranchEntry& e = BranchStack.back();
        P = e.P;
        H = e.H;
        U = e.U;
        L = e.L;
        S.ColorIndex = e.ColorIndex;
        S.SegmentLength = e.SegmentLength;
        S.TurnAngle = e.TurnAngle;
        S.Thickness = e.Thickness;
        S.HalfLength = e.HalfLength;
        TropismFactor = e.TropismFactor;
        if (Settings.Cylinders) {
            Builder.LastTube.End = e.TubeEnd;
            Builder.LastTube.Ring = e.TubeRing;
        }
        BranchStack.pop_back();
    }

    // Polygon vertices live apart from the mesh buffers, so drawing inside an
    // open polygon leaves them alone; vertices beyond the buffer are ignored.
    void RecordVertex()
    {
        if (PolygonOpen && Polygon.size() < MaxMeshSize) Polygon.push_back(P);
    }

    void OpenPolygon()
    {
        if (PolygonOpen) {
            if (PolygonStack.size() == StackCapacity) {
                ++IgnoredPolygons;
                return;
            }
            PolygonStack.push_back({std::move(Polygon)});
        }
        PolygonOpen = true;
        Polygon.clear();
        RecordVertex();
    }

    void ClosePolygon()
    {
        if (IgnoredPolygons > 0) {
            --IgnoredPolygons;
            return;
        }
        if (!PolygonOpen) return;
        const int n = static_cast<int>(Polygon.size());
        if (n >= 3) {
            for (int i = 1; i <= n; ++i) Builder.MeshVertex(i) = Polygon[i - 1];
            for (int j = 1; j <= n - 2; ++j) {
                const auto b = static_cast<uint16_t>(j + 1), c = static_cast<uint16_t>(j + 2);
                Builder.MeshFace(j) = {1, b, c, c};
            }
            TableFull = !Builder.AddMesh(n, n - 2, S.ColorIndex);
        }
        PolygonOpen = false;
        Polygon.clear();
        if (!PolygonStack.empty()) {
            Polygon = std::move(PolygonStack.back().Vertices);
            PolygonStack.pop_back();
            PolygonOpen = true;
        }
    }

    TDefinitionState& S;
    const TSolidSettings& Settings;
    TMeshBuilder& Builder;
    TRandomSource& Random;
    const TCancelToken& Cancel;
    const std::string& Text;
    const bool ForeignParameters = S.Extended != nullptr;
    size_t I = 0;

    TVector P{0, 0, 0};
    TVector H{0, 0, 1};
    TVector L{0, 1, 0};
    TVector U{1, 0, 0};
    float TropismFactor = 0.2f;
    bool FractionMode = false;
    std::array<float, 4> Saved{}; // Thickness, TurnAngle, SegmentLength, HalfLength
    bool TableFull = false;

    std::vector<TBranchEntry> BranchStack;
    int IgnoredBranches = 0;
    bool PolygonOpen = false;
    std::vector<TVector> Polygon;
    std::vector<TPolygonEntry> PolygonStack;
    int IgnoredPolygons = 0;
};

} // namespace

TTurtleResult InterpretProduction(TDefinitionState& State, const TSolidSettings& Settings, TMeshBuilder& Builder,
                                  TRandomSource& Random)
{
    const TCancelToken never;
    return InterpretProduction(State, Settings, Builder, Random, never);
}

TTurtleResult InterpretProduction(TDefinitionState& State, const TSolidSettings& Settings, TMeshBuilder& Builder,
                                  TRandomSource& Random, const TCancelToken& Cancel)
{
    return TTurtle(State, Settings, Builder, Random, Cancel).Run();
}

} // namespace verdel
