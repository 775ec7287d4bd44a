// The solids the turtle draws: blocks, joined tubes, cones and pyramids.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "engine/mesh_builder.h"

namespace verdel {

// The 16 directions at 22.5-degree steps from A towards B, by halving.
std::array<TVector, 16> BuildRing(TVector A, TVector B);

// Each primitive adds one object through AddMesh, with half-width
// |end - start| x Thickness / 2, and nothing when start equals end.
// They return false when the object table is full.

// A square block whose sides are parallel to U and to (end - start) x U: 8 vertices, 6 faces.
bool AddBlock(TMeshBuilder& Builder, float Thickness, TVector Start, TVector End, TVector U, int ColorIndex);

// A sixteen-sided tube without caps (32 vertices, 16 faces); it starts on the
// previous tube's top ring when that had the same colour and ended within 1.0.
bool AddCylinder(TMeshBuilder& Builder, float Thickness, TVector Start, TVector End, int ColorIndex, TVector U,
                 TVector L);

// A sixteen-sided cone with its base disc: 18 vertices, 32 faces.
bool AddCone(TMeshBuilder& Builder, float Thickness, TVector Start, TVector End, int ColorIndex, TVector U, TVector L);

// A square pyramid: 5 vertices, 5 faces.
bool AddPyramid(TMeshBuilder& Builder, float Thickness, TVector Start, TVector End, int ColorIndex, TVector U,
                TVector L);

// What a mesh's faces say it is: a tube or a cone as AddCylinder and AddCone
// number their corners, or any other solid (blocks, pyramids, polygons, meshes read from files).
enum class TSolidKind { skOther, skTube, skCone };

// The kind of a mesh from its faces' corner numbers alone (each face's four
// 1-based numbers, a triangle repeating its third), so that a tube or a cone
// read back from a file is known again.
TSolidKind SolidKindOf(std::span<const std::array<int32_t, 4>> Faces);

// Whether face Face (from 0) of a solid of Kind lies on its curved surface:
// every face of a tube, the sides of a cone (not its base disc).
bool CurvedFace(TSolidKind Kind, int Face);

} // namespace verdel
