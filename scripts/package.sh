#!/usr/bin/env bash
# Builds the Debian package vantrel_<version>_<arch>.deb from a clean copy of the work
# tree (the files git knows, as they are now) with Debian's own tools, then checks it with
# lintian. The package and lintian's report land in build/package/.
#   scripts/package.sh             build, then lintian
#   scripts/package.sh --no-lint   build only
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
lint=1
[ "${1:-}" = --no-lint ] && lint=0

scripts/install-deps.sh

# The package's version is the program's: debian/changelog must agree with CMakeLists.txt.
version=$(sed -n 's/^project(Vantrel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
changelog=$(dpkg-parsechangelog -S Version)
if [ "$version" != "$changelog" ]; then
  echo "debian/changelog has version $changelog, CMakeLists.txt $version" >&2
  exit 1
fi

out=$top/build/package
rm -rf "$out"
mkdir -p "$out/src"
git ls-files -z --cached --others --exclude-standard |
  while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
  tar --null -T - -cf - | tar -xf - -C "$out/src"

start=$(date +%s)
(cd "$out/src" && dpkg-buildpackage -b -us -uc -j"${JOBS:-2}") >"$out/build.log" 2>&1 || {
  tail -40 "$out/build.log" >&2
  echo "package build failed; see $out/build.log" >&2
  exit 1
}
echo "package built in $(($(date +%s) - start)) s"
rm -rf "$out/src"
deb=$(ls "$out"/vantrel_"$version"_*.deb)
echo "$deb"

if [ "$lint" = 1 ]; then
  # Errors fail the run; warnings are printed with their explanations.
  lintian --info --fail-on error "$deb" | tee "$out/lintian.txt"
fi
