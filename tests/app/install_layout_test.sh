#!/usr/bin/env bash
# `cmake --install` into a fresh prefix, looked at as a user of the installed
# programs meets it: every file in its place, the pack the build's own bytes,
# the programs finding it from another folder (and saying where they looked
# when it is gone), icons at their sizes, manual pages that list every
# option and format without a warning, the desktop entry and the metainfo.
#   install_layout_test.sh BUILD_DIR
set -uo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/usr"
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "cmake --install failed"; exit 1; }
mkdir -p "$work/elsewhere"
cd "$work/elsewhere"

passed=0
failed=0
check() {
  local what=$1
  shift
  if "$@" >"$work/check.log" 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $what"
    sed 's/^/    /' "$work/check.log"
  fi
}

headless() { env -u DISPLAY -u WAYLAND_DISPLAY -u SKYDRIFT_DATA -u SKYDRIFT_ANSWER SDL_AUDIODRIVER=dummy "$@"; }

# PNG width, height and colour type (6: RGBA) from its header.
png_header() { od -An -tu1 -j16 -N10 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8, $10}'; }

# Every option a program's usage names appears in its manual page.
options_in_page() {
  local usage=$1 page=$2 missing=0
  local text
  text=$(MANWIDTH=200 man -l "$page" 2>/dev/null)
  for option in $(grep -o -- '--[a-z][a-z-]*' <<<"$usage" | sort -u); do
    grep -q -- "$option" <<<"$text" || { echo "$page does not mention $option"; missing=1; }
  done
  return $missing
}

# A page that formats without a warning, with the sections a page needs.
page_formats() {
  local page=$1
  [ -z "$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)" ] || { MANWIDTH=80 man --warnings -l "$page" >/dev/null; return 1; }
  local text
  text=$(MANWIDTH=80 man -l "$page" 2>/dev/null)
  for section in NAME SYNOPSIS DESCRIPTION OPTIONS ENVIRONMENT "EXIT STATUS" EXAMPLES; do
    grep -q "^$section" <<<"$text" || { echo "$page has no $section section"; return 1; }
  done
}

id=io.github.skydrift.SkyDrift
version=$("$prefix/bin/skydrift" --version | awk '{print $2}')

for program in skydrift skydrift-render hlvtool; do
  check "$program is installed in bin/" test -x "$prefix/bin/$program"
  check "$program --version prints the one version" test "$("$prefix/bin/$program" --version)" = "$program $version"
  check "$program has a manual page" test -f "$prefix/share/man/man1/$program.1.gz"
  check "$program's manual page formats cleanly" page_formats "$prefix/share/man/man1/$program.1.gz"
done
check "the pack is the build's demo/, byte for byte" diff -r --exclude=hd "$build/demo" "$prefix/share/skydrift"
check "its hd/ is the build's high-detail set" diff -r "$build/hd/demo" "$prefix/share/skydrift/hd"
check "skydrift's page lists every option of --help" \
  options_in_page "$(headless "$prefix/bin/skydrift" --help)" "$prefix/share/man/man1/skydrift.1.gz"
check "skydrift-render's page lists every option of its usage" \
  options_in_page "$(headless "$prefix/bin/skydrift-render" --no-such-option 2>&1 | tail -n +2)" \
  "$prefix/share/man/man1/skydrift-render.1.gz"
check "hlvtool's page lists every option of --help" \
  options_in_page "$(headless "$prefix/bin/hlvtool" --help)" "$prefix/share/man/man1/hlvtool.1.gz"

# Found from another folder: the question is cancelled only once the pack is found.
check "the installed player finds its pack from another folder" headless "$prefix/bin/skydrift" --answer cancel
mv "$prefix/share/skydrift" "$work/moved"
headless "$prefix/bin/skydrift" --answer cancel >/dev/null 2>"$work/missing.err"
status=$?
check "without its pack the player ends with status 1" test "$status" = 1
check "... saying where it looked" grep -qF "$prefix/share/skydrift" "$work/missing.err"
check "--data names the pack's folder" headless "$prefix/bin/skydrift" --data "$work/moved" --answer cancel
check "SKYDRIFT_DATA names it too" env SKYDRIFT_DATA="$work/moved" env -u DISPLAY "$prefix/bin/skydrift" --answer cancel
mv "$work/moved" "$prefix/share/skydrift"

# Larger than 800x600 the show reads the high-detail set: installed, the same
# picture as the build tree's.
if [ -n "${DISPLAY:-}" ]; then
  render() { SDL_AUDIODRIVER=dummy "$1" --at 5 --size 1600x1200 --out "$2" --quiet >/dev/null 2>&1; }
  check "the installed renderer draws a 1600x1200 frame" render "$prefix/bin/skydrift-render" "$work/installed"
  (cd "$build" && render ./tools/skydrift-render "$work/built")
  check "... the build tree's frame, high-detail pictures and all" \
    cmp "$work/installed/frame-5.png" "$work/built/frame-5.png"
else
  echo "skipped the 1600x1200 frame: no DISPLAY (run under xvfb-run)"
fi

for size in 48 128 256; do
  icon="$prefix/share/icons/hicolor/${size}x$size/apps/$id.png"
  check "a ${size}px RGBA icon" test "$(png_header "$icon" 2>/dev/null)" = "$size $size 6"
done
check "a scalable icon" grep -q "<svg" "$prefix/share/icons/hicolor/scalable/apps/$id.svg"

desktop="$prefix/share/applications/$id.desktop"
check "the desktop entry runs the installed player" grep -qx "Exec=skydrift" "$desktop"
check "the desktop entry's icon is the installed one" grep -qx "Icon=$id" "$desktop"
metainfo="$prefix/share/metainfo/$id.metainfo.xml"
check "the metainfo launches the desktop entry" grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo"
check "the metainfo's release is the version" grep -q "<release version=\"$version\"" "$metainfo"
if command -v desktop-file-validate >/dev/null; then
  check "desktop-file-validate" desktop-file-validate "$desktop"
else
  echo "skipped desktop-file-validate: not installed (scripts/package installs it)"
fi
if command -v appstreamcli >/dev/null; then
  check "appstreamcli validate --no-net" appstreamcli validate --no-net "$metainfo"
else
  echo "skipped appstreamcli: not installed (scripts/package installs it)"
fi
check "the package's copyright file" test -s "$prefix/share/doc/skydrift/copyright"

echo "install layout: $passed passed, $failed failed"
[ "$failed" = 0 ]
