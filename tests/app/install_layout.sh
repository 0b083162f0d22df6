#!/usr/bin/env bash
# Installs the build into a fresh prefix with `cmake --install` and checks the layout: the
# program in bin/, the decoder helper in libexec/vantrel/ where a program in bin/ finds
# it, the desktop entry, the metainfo, the icons and the manual page; then that the
# installed program answers --version.
#   install_layout.sh BUILD_DIR PROBE
set -uo pipefail
build=$1
probe=$2
id=com.ostlewin.Vantrel
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; echo "FAIL: cmake --install"; exit 1; }

[ -x "$prefix/bin/vantrel" ] || fail "bin/vantrel missing"
[ -x "$prefix/libexec/vantrel/vantrel-decoder" ] || fail "libexec/vantrel/vantrel-decoder missing"
[ ! -e "$prefix/bin/vantrel-decoder" ] || fail "the helper is in bin/ too"
for f in share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
  share/icons/hicolor/scalable/apps/$id.svg share/man/man1/vantrel.1; do
  [ -s "$prefix/$f" ] || fail "$f missing"
done
for size in 16 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x$size/apps/$id.png
  [ -s "$png" ] || { fail "${size}x$size icon missing"; continue; }
  # The PNG's own size, from its header: width and height at bytes 16..23.
  got=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$got" = "${size}x$size" ] || fail "${size}x$size icon is $got"
done

# The helper is found relative to a program in the prefix's bin/, with nothing pointing
# at it, and beside the program where it lies there (the build tree).
unset VANTREL_DECODER
cp "$probe" "$prefix/bin/" || fail "cannot copy the probe"
got=$("$prefix/bin/$(basename "$probe")")
want=$prefix/libexec/vantrel/vantrel-decoder
[ "$got" = "$want" ] || fail "installed: the helper is taken from $got, not $want"
mkdir -p "$work/beside"
cp "$probe" "$work/beside/" && cp "$prefix/libexec/vantrel/vantrel-decoder" "$work/beside/"
got=$("$work/beside/$(basename "$probe")")
[ "$got" = "$work/beside/vantrel-decoder" ] || fail "beside: the helper is taken from $got"

version=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$prefix/bin/vantrel" --version)
[[ "$version" == "Vantrel "* ]] || fail "installed program's --version said '$version'"

# The metadata passes the desktop's own checks, where the tools are there.
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net --pedantic --explain \
    "$prefix/share/metainfo/$id.metainfo.xml" >"$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log"; fail "appstreamcli validate"; }
fi

[ "$failures" -eq 0 ] && echo "PASS" || exit 1
