#!/usr/bin/env python3
"""The include check finds each kind of fault in a small made-up tree, and passes a clean one."""
import os
import subprocess
import sys
import tempfile
import unittest

CHECK = os.path.join(os.path.dirname(__file__), "..", "..", "scripts", "check_includes.py")


def run_on(files):
    with tempfile.TemporaryDirectory() as root:
        for path, text in files.items():
            os.makedirs(os.path.dirname(os.path.join(root, path)), exist_ok=True)
            with open(os.path.join(root, path), "w") as out:
                out.write(text)
        done = subprocess.run([sys.executable, CHECK, root], capture_output=True, text=True)
        return done.returncode, done.stdout


CLEAN = {
    "engine/a.h": "#include <vector>\n",
    "render/b.h": '#include "engine/a.h"\n',
    "gui/w.h": '#include <QWidget>\n#include "gui/editor/e.h"\n',
    "gui/editor/e.h": '#include "gui/shared/s.h"\n#include "render/b.h"\n',
    "gui/viewer/v.h": '#include "gui/shared/s.h"\n',
    "gui/shared/s.h": "",
    "tests/render/t.cpp": '#include "support/s.h"\n#include "render/b.h"\n',
    "tests/support/s.h": "",
}


class IncludeCheck(unittest.TestCase):
    def test_clean_tree_passes(self):
        status, out = run_on(CLEAN)
        self.assertEqual(status, 0, out)

    def test_gui_room_including_a_floor_above_is_found(self):
        for path, text in [("gui/viewer/x.cpp", '#include "gui/w.h"\n'),
                           ("gui/shared/x.cpp", '#include "gui/viewer/v.h"\n')]:
            with self.subTest(path=path):
                status, out = run_on({**CLEAN, path: text})
                self.assertEqual(status, 1)
                self.assertIn(path + ":1", out)

    def test_cycle_between_gui_rooms_is_found(self):
        status, out = run_on({**CLEAN, "gui/viewer/v.cpp": '#include "gui/editor/e.h"\n',
                              "gui/editor/e.cpp": '#include "gui/viewer/v.h"\n'})
        self.assertEqual(status, 1)
        self.assertIn("gui/editor -> gui/viewer -> gui/editor", out)

    def test_core_including_gui_is_found(self):
        status, out = run_on({**CLEAN, "render/c.cpp": '#include "gui/w.h"\n'})
        self.assertEqual(status, 1)
        self.assertIn("render/c.cpp:1", out)

    def test_core_including_qt_is_found(self):
        status, out = run_on({**CLEAN, "viewer/v.cpp": "#include <QString>\n"})
        self.assertEqual(status, 1)
        self.assertIn("viewer/v.cpp:1", out)

    def test_cycle_between_core_folders_is_found(self):
        status, out = run_on({**CLEAN, "engine/d.cpp": '#include "render/b.h"\n'})
        self.assertEqual(status, 1)
        self.assertIn("engine -> render -> engine", out)


if __name__ == "__main__":
    unittest.main()
