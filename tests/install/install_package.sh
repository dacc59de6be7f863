#!/usr/bin/env bash
# The installed layout, its desktop files as the desktop's own validators see them, --help and
# --version without a display, and the Debian package: its dependencies and its files.
set -u
BUILD=$1
VERSION=$2
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
failures=0
check() {  # check "what" command...
  local what=$1
  shift
  if ! "$@" >"$WORK/out" 2>&1; then
    echo "FAIL: $what" >&2
    sed 's/^/  /' "$WORK/out" >&2
    failures=$((failures + 1))
  fi
}

ROOT="$WORK/root"
DESTDIR="$ROOT" cmake --install "$BUILD" --prefix /usr >"$WORK/install.log" 2>&1 ||
  { cat "$WORK/install.log" >&2; exit 1; }
ID=org.velloran.Velloran
expected_files="usr/bin/velloran
usr/share/applications/$ID.desktop
usr/share/icons/hicolor/256x256/apps/velloran.png
usr/share/icons/hicolor/scalable/apps/velloran.svg
usr/share/man/man1/velloran.1.gz
usr/share/metainfo/$ID.metainfo.xml
usr/share/velloran/help.txt"
installed=$(cd "$ROOT" && find . -type f | sed 's|^\./||' | sort)
check "installed files" test "$installed" = "$expected_files"
check "the program is executable" test -x "$ROOT/usr/bin/velloran"

DESKTOP="$ROOT/usr/share/applications/$ID.desktop"
METAINFO="$ROOT/usr/share/metainfo/$ID.metainfo.xml"
check "desktop entry validates" desktop-file-validate "$DESKTOP"
check "metainfo validates" appstreamcli validate --no-net "$METAINFO"
entry() { sed -n "s/^$1=//p" "$DESKTOP"; }
check "the menu entry starts the installed program" test -x "$ROOT/usr/bin/$(entry Exec)"
check "the menu entry's icon is installed as SVG and PNG" \
  test -f "$ROOT/usr/share/icons/hicolor/scalable/apps/$(entry Icon).svg" -a \
       -f "$ROOT/usr/share/icons/hicolor/256x256/apps/$(entry Icon).png"
check "no terminal" test "$(entry Terminal)" = false
check "the PNG icon is 256 pixels square" \
  grep -q 'PNG image data, 256 x 256' <(file "$ROOT/usr/share/icons/hicolor/256x256/apps/velloran.png")
check "the SVG icon is a square drawing" python3 - "$ROOT/usr/share/icons/hicolor/scalable/apps/velloran.svg" <<'PY'
import sys, xml.etree.ElementTree as ET
svg = ET.parse(sys.argv[1]).getroot()
assert svg.tag == '{http://www.w3.org/2000/svg}svg', svg.tag
x, y, w, h = map(float, svg.get('viewBox').split())
assert w == h > 0, svg.get('viewBox')
assert len(list(svg.iter())) > 3, 'empty drawing'
PY
check "metainfo launches this menu entry" grep -q "<launchable type=\"desktop-id\">$ID.desktop</launchable>" "$METAINFO"
check "metainfo names this release" grep -q "<release version=\"$VERSION\"" "$METAINFO"
check "metainfo has a screenshot caption" grep -q '<caption>..*</caption>' "$METAINFO"
check "manual page for this version" \
  grep -q "^\.TH VELLORAN 1 .*\"Velloran $VERSION\"" <(gzip -dc "$ROOT/usr/share/man/man1/velloran.1.gz")

# Both answers come before Qt starts: no display is needed, and nothing else is printed.
nodisplay() { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$@"; }
check "--version prints the version" test "$(nodisplay "$ROOT/usr/bin/velloran" --version)" = "velloran $VERSION"
check "--help prints the usage" grep -q '^Usage: velloran \[--help | --version | --voice-input FILE\]$' \
  <(nodisplay "$ROOT/usr/bin/velloran" --help)
check "--help ends with success" nodisplay "$ROOT/usr/bin/velloran" some-ignored-file.txt --help
check "without --help or --version the program wants its display" \
  bash -c "! env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb '$ROOT/usr/bin/velloran' --verbose"

# The package: built from the same install rules, so it holds the same files.
cpack --config "$BUILD/CPackConfig.cmake" -G DEB -B "$WORK/package" >"$WORK/cpack.log" 2>&1 ||
  { cat "$WORK/cpack.log" >&2; exit 1; }
DEB=$(ls "$WORK"/package/velloran_*.deb)
check "package name and version" test "$(dpkg-deb -f "$DEB" Package Version | tr '\n' ' ')" = \
  "Package: velloran Version: $VERSION "
depends=$(dpkg-deb -f "$DEB" Depends)
depended=$(sed 's/ *([^)]*)//g; s/, */\n/g' <<<"$depends")  # the package names alone
for dependency in fonts-liberation libqt6core6 libqt6gui6 libqt6widgets6 libstdc++6 libc6 libpocketsphinx3 \
  libqt6multimedia6; do
  check "package depends on $dependency" grep -qxF "$dependency" <<<"$depended"
done
check "package recommends the speech model" test "$(dpkg-deb -f "$DEB" Recommends)" = "pocketsphinx-en-us"
packaged=$(dpkg-deb --fsys-tarfile "$DEB" | tar -t | grep -v '/$' | sed 's|^\./||' | sort)
check "package holds the installed files" test "$packaged" = "$expected_files"
check "packaged program is stripped" grep -q ', stripped' <(dpkg-deb --fsys-tarfile "$DEB" | tar -xO ./usr/bin/velloran | file -)

echo "package $(basename "$DEB"): $(stat -c %s "$DEB") bytes; Depends: $depends"
[ "$failures" -eq 0 ] || { echo "install_package: $failures failed" >&2; exit 1; }
echo "install_package: all passed"
