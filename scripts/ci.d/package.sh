#!/usr/bin/env bash
# Builds the Debian package from the test build and checks that it carries
# the program, the help book and the desktop entry, and declares what the
# program needs at run time. Takes well under a minute.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$root/build/asan" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/ralvo_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for need in fonts-ipafont-gothic fonts-ipafont-mincho qt6-translations-l10n libqt6widgets6 libcanberra0; do
    grep -q "$need" <<<"$depends" || { echo "package does not depend on $need: $depends" >&2; exit 1; }
done
contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/ralvo ./usr/bin/ralvo-schedule ./usr/share/ralvo/help/index.html \
            ./usr/share/applications/ralvo.desktop ./usr/share/icons/hicolor/scalable/apps/ralvo.svg; do
    grep -q " $path\$" <<<"$contents" || { echo "package lacks $path" >&2; exit 1; }
done
echo "package ok: $(basename "$deb")"
