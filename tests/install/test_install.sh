#!/bin/sh
# Installs Verdel into a temporary prefix and checks the tree a desktop sees:
# the programs, the data, the desktop entry, the icon and the file type.
#   test_install.sh BUILD_DIR VERSION
set -eu
build=$1
version=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "install tree: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" > /dev/null

for file in bin/verdel bin/verdel-cli bin/verdel-import \
  share/verdel/vdfiles/tree.vd share/verdel/textures/Text01.jpg share/verdel/textures/Text12.jpg \
  share/verdel/help/index.html share/verdel/help/commands.html share/verdel/VdHelp01.rtf \
  share/verdel/Verdel5.rtf share/verdel/splash5.jpg share/verdel/outline.dxf \
  share/applications/verdel.desktop share/icons/hicolor/scalable/apps/verdel.svg \
  share/mime/packages/verdel.xml; do
  [ -f "$prefix/$file" ] || fail "missing $file"
done
[ -x "$prefix/bin/verdel" ] || fail "bin/verdel is not executable"

# The installed batch tool runs, and finds its textures in share/verdel.
[ "$("$prefix/bin/verdel-cli" --version)" = "verdel-cli $version" ] || fail "verdel-cli --version"
"$prefix/bin/verdel-cli" render "$prefix/share/verdel/vdfiles/tree.vd" -o "$prefix/tree.bmp" \
  --mode texture --size 64x48 --yes > /dev/null 2>&1 || fail "render with the installed textures"
# ... and reads a mesh file through the importer installed beside it.
"$prefix/bin/verdel-cli" export "$prefix/share/verdel/vdfiles/tree.vd" -o "$prefix/tree.obj" --yes > /dev/null 2>&1 ||
  fail "export tree.obj"
"$prefix/bin/verdel-cli" stats "$prefix/tree.obj" > /dev/null 2>&1 || fail "stats of tree.obj through verdel-import"

# The desktop entry passes the freedesktop checks and starts the installed program.
desktop-file-validate "$prefix/share/applications/verdel.desktop" || fail "desktop-file-validate"
grep -q '^Exec=verdel %F$' "$prefix/share/applications/verdel.desktop" || fail "Exec line"

# The MIME database takes the definition type, and the icon is well-formed SVG.
XDG_DATA_DIRS="$prefix/share" update-mime-database "$prefix/share/mime" || fail "update-mime-database"
grep -q '^[0-9]*:application/x-verdel-definition:\*\.vd$' "$prefix/share/mime/globs2" || fail "*.vd glob"
python3 -c 'import sys, xml.etree.ElementTree as e; r = e.parse(sys.argv[1]).getroot(); sys.exit(r.tag != "{http://www.w3.org/2000/svg}svg")' \
  "$prefix/share/icons/hicolor/scalable/apps/verdel.svg" || fail "verdel.svg"
echo "install tree: ok"
