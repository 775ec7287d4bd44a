"""Writes the DXF of bundled definitions with verdel-cli and reads each with ezdxf.

Every file must pass ezdxf's audit without errors and show one polyface mesh
per object, with the vertex and face counts of its solid and the right layers.
"""
import os
import subprocess
import sys

import ezdxf

CLI, VDFILES, WORK = sys.argv[1:4]

# definition, cli flags, vertices and faces of every object (None: mixed), layers
CASES = [
    ("hilbert3d.vd", [], (32, 16), {"1"}),
    ("blocks.vd", ["--wblocks"], (8, 6), {"1", "2", "3", "4", "5", "6"}),
    ("sierpinski.vd", [], (3, 1), {"1"}),
    ("cones.vd", ["--cones"], None, {"1", "8"}),
    ("flower.vd", [], None, {"1", "3", "7", "10"}),
]


def stats(path, flags):
    out = subprocess.run([CLI, "stats", "--yes", *flags, path], check=True, capture_output=True, text=True).stdout
    return dict(line.split(": ", 1) for line in out.splitlines())


failures = []
for name, flags, counts, layers in CASES:
    source = os.path.join(VDFILES, name)
    target = os.path.join(WORK, name.replace(".vd", ".ezdxf.dxf"))
    subprocess.run([CLI, "dxf", "--yes", *flags, source, "-o", target], check=True)
    expected = stats(source, flags)

    doc = ezdxf.readfile(target)
    auditor = doc.audit()
    if auditor.has_errors:
        failures.append(f"{name}: audit errors {[str(e) for e in auditor.errors]}")
    meshes = [e for e in doc.modelspace() if e.dxftype() == "POLYLINE" and e.is_poly_face_mesh]
    if len(meshes) != int(expected["objects"]):
        failures.append(f"{name}: {len(meshes)} polyface meshes, expected {expected['objects']}")
    total_faces = 0
    for mesh in meshes:
        vertices, faces = mesh.indexed_faces()
        faces = list(faces)
        total_faces += len(faces)
        if counts and (len(vertices), len(faces)) != counts:
            failures.append(f"{name}: a mesh of {len(vertices)} vertices and {len(faces)} faces, expected {counts}")
            break
    if total_faces != int(expected["faces"]):
        failures.append(f"{name}: {total_faces} faces, expected {expected['faces']}")
    seen = {mesh.dxf.layer for mesh in meshes}
    if seen != layers:
        failures.append(f"{name}: layers {sorted(seen)}, expected {sorted(layers)}")

print("\n".join(failures) if failures else f"ezdxf read {len(CASES)} files")
sys.exit(1 if failures else 0)
