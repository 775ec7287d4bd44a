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


# Each fault added to the clean tree, and what the report must name.
FAULTS = [
    ({"gui/viewer/x.cpp": '#include "gui/w.h"\n'}, "gui/viewer/x.cpp:1"),
    ({"gui/shared/x.cpp": '#include "gui/viewer/v.h"\n'}, "gui/shared/x.cpp:1"),
    ({"gui/viewer/v.cpp": '#include "gui/editor/e.h"\n', "gui/editor/e.cpp": '#include "gui/viewer/v.h"\n'},
     "gui/editor -> gui/viewer -> gui/editor"),
    ({"render/c.cpp": '#include "gui/w.h"\n'}, "render/c.cpp:1"),
    ({"viewer/v.cpp": "#include <QString>\n"}, "viewer/v.cpp:1"),
    ({"engine/d.cpp": '#include "render/b.h"\n'}, "engine -> render -> engine"),
]


class IncludeCheck(unittest.TestCase):
    def test_clean_tree_passes_and_each_fault_is_named(self):
        status, out = run_on(CLEAN)
        self.assertEqual(status, 0, out)
        for files, named in FAULTS:
            with self.subTest(named=named):
                status, out = run_on({**CLEAN, **files})
                self.assertEqual(status, 1)
                self.assertIn(named, out)


if __name__ == "__main__":
    unittest.main()
