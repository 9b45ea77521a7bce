#!/usr/bin/env bash
# Builds the Debian package the way Debian builds its own (the release tree
# of release-tree.bash: dpkg-buildflags' hardening flags, build/package) and
# checks it: lintian without errors or warnings, the desktop entry and
# the AppStream metadata valid, icons at every theme size, stripped
# programs, copyright and changelog, manual pages, the version, what it
# depends on. As root it also installs and purges the package.
# The tools come with scripts/packages.d/test-package.txt.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "package: $*" >&2; exit 1; }

# shellcheck source=release-tree.bash
source "$root/scripts/ci.d/release-tree.bash"
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/ralvo_*.deb)
version=$(sed -n 's/^project(ralvo VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")

# lintian: every tag is shown, errors and warnings fail.
lintian --display-info --fail-on error,warning "$deb" || fail "lintian reports errors or warnings"

field() { dpkg-deb -f "$deb" "$1"; }
case "$(field Maintainer)" in
    *@localhost* | *@*.local\>*) fail "maintainer without a real mail host: $(field Maintainer)" ;;
esac
[ "$(field Version)" = "$version-1" ] || fail "package version $(field Version), project version $version"
depends=$(field Depends)
for need in fonts-ipafont-gothic fonts-ipafont-mincho qt6-translations-l10n libqt6widgets6 libcanberra0 libcups2; do
    grep -q "$need" <<<"$depends" || fail "does not depend on $need: $depends"
done
[ "$(field Suggests)" = "fcitx5-frontend-qt6, ibus-mozc | fcitx5-mozc" ] ||
    fail "does not suggest the input method frontends: $(field Suggests)"

tree="$out/tree"
dpkg-deb -x "$deb" "$tree"
for path in usr/bin/ralvo usr/bin/ralvo-schedule usr/libexec/ralvo/ralvo-schedule-page \
            usr/share/ralvo/help/index.html \
            usr/share/applications/ralvo.desktop usr/share/metainfo/org.example.ralvo.metainfo.xml \
            usr/share/icons/hicolor/scalable/apps/ralvo.svg \
            usr/share/doc/ralvo/copyright usr/share/doc/ralvo/changelog.Debian.gz \
            usr/share/man/man1/ralvo.1.gz usr/share/man/man1/ralvo-schedule.1.gz \
            usr/share/man/ja/man1/ralvo.1.gz usr/share/man/ja/man1/ralvo-schedule.1.gz; do
    [ -f "$tree/$path" ] || fail "lacks /$path"
done
for size in 16 24 32 48 64 128 256; do
    png="$tree/usr/share/icons/hicolor/${size}x${size}/apps/ralvo.png"
    file -b "$png" | grep -q "^PNG image data, $size x $size," || fail "no $size px PNG icon: $(file -b "$png" 2>&1)"
done
for program in bin/ralvo bin/ralvo-schedule libexec/ralvo/ralvo-schedule-page; do
    file -b "$tree/usr/$program" | grep -q ", stripped" || fail "$program is not stripped"
done
head -n1 "$tree/usr/share/doc/ralvo/copyright" |
    grep -qx "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ||
    fail "the copyright file is not in the machine-readable format"
zcat "$tree/usr/share/doc/ralvo/changelog.Debian.gz" > "$out/changelog"
[ "$(dpkg-parsechangelog -l "$out/changelog" -S Version)" = "$(field Version)" ] ||
    fail "the changelog's last entry is not version $(field Version)"

desktop-file-validate "$tree/usr/share/applications/ralvo.desktop" || fail "desktop entry invalid"
appstreamcli validate --no-net --pedantic "$tree/usr/share/metainfo/org.example.ralvo.metainfo.xml" >/dev/null ||
    fail "AppStream metadata invalid"
for page in "$tree"/usr/share/man/man1/*.1.gz "$tree"/usr/share/man/ja/man1/*.1.gz; do
    warnings=$(LANG=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man warns about $page: $warnings"
done
[ "$("$tree/usr/bin/ralvo-schedule" --version)" = "ralvo-schedule $version" ] ||
    fail "ralvo-schedule --version does not print $version"
# The tool hands pages to its drawing program, found from its own folder.
"$tree/usr/bin/ralvo-schedule" page --defaults --basis 0 --year 2024 --month 1 --day 1 --cycle 28 \
    -o "$out/page.pdf" && [ -s "$out/page.pdf" ] || fail "ralvo-schedule page does not reach its drawing program"

# A real installation, with what apt brings for it, and a purge that leaves nothing.
if [ "$(id -u)" -eq 0 ]; then
    if dpkg-query -W -f='${Status}' ralvo 2>/dev/null | grep -q "install ok installed"; then
        echo "package: ralvo is installed already; not installing over it"
    else
        DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$deb" > "$out/install.log" 2>&1 ||
            { cat "$out/install.log" >&2; fail "apt-get install failed"; }
        installed_version=$(/usr/bin/ralvo-schedule --version)
        man_found=$(LANG=C.UTF-8 LC_ALL=C.UTF-8 man -w ralvo-schedule)
        dpkg --purge ralvo > "$out/purge.log" 2>&1 || { cat "$out/purge.log" >&2; fail "dpkg --purge failed"; }
        [ "$installed_version" = "ralvo-schedule $version" ] || fail "installed tool says $installed_version"
        [ "$man_found" = /usr/share/man/man1/ralvo-schedule.1.gz ] || fail "man finds $man_found"
        [ ! -e /usr/bin/ralvo ] && [ ! -e /usr/share/doc/ralvo ] || fail "purge left files behind"
    fi
else
    echo "package: not root, installation not tried"
fi
echo "package ok: $(basename "$deb")"
