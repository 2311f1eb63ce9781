#!/usr/bin/env bash
# The Debian package as a user's machine gets it: built by scripts/package from this build,
# unpacked, its metadata validated, its program run, and lintian's verdict.
source "$(dirname "$0")/cli_lib.sh"
repo=$(cd "$(dirname "$0")/../.." && pwd)

version=$(timeout 30 "$SWOOP2" --version) || fail "the program does not tell its version"
version=${version#Swoop2 }
deb=$("$repo/scripts/package" --no-build "${SWOOP2_BUILD_DIR:?}" "$CLI_TMP/package") ||
    fail "scripts/package failed"
[[ "$(basename "$deb")" == "swoop2_${version}_$(dpkg --print-architecture).deb" ]] ||
    fail "the package is named $deb"
cp "$deb" "$ARTEFACTS/"

# The libraries come from the program itself; the platform plugins are loaded at run time.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6printsupport6 libc6 qt6-qpa-plugins; do
    grep -q -E "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done
[[ "$(dpkg-deb -f "$deb" Version)" == "$version" ]] || fail "the package's version is not $version"

root=$CLI_TMP/root
dpkg-deb -x "$deb" "$root"
usr=$root/usr/share
for file in "$root/usr/bin/swoop2" "$usr/applications/swoop2.desktop" \
    "$usr/icons/hicolor/scalable/apps/swoop2.svg" "$usr/icons/hicolor/"{16x16,32x32,48x48}/apps/swoop2.png \
    "$usr/doc/swoop2/copyright"; do
    [[ -s "$file" ]] || fail "the package lacks ${file#"$root"}"
done
# Debian reads manual pages and changelogs compressed.
for file in "$usr/man/man1/swoop2.1.gz" "$usr/doc/swoop2/changelog.gz"; do
    gzip -t "$file" 2>/dev/null || fail "${file#"$root"} is not compressed"
done
zcat "$usr/man/man1/swoop2.1.gz" | head -1 | grep -q "\"Swoop2 $version\"" ||
    fail "the manual page is not of version $version"

[[ "$("$root/usr/bin/swoop2" --version)" == "Swoop2 $version" ]] ||
    fail "the packaged program does not run"
desktop-file-validate "$usr/applications/swoop2.desktop" >"$CLI_TMP/desktop.log" 2>&1 ||
    fail "the desktop entry: $(cat "$CLI_TMP/desktop.log")"

metainfo=("$usr"/metainfo/*.metainfo.xml)
[[ ${#metainfo[@]} -eq 1 && -f "${metainfo[0]}" ]] || fail "the package has no metainfo file"
appstreamcli validate --no-net "${metainfo[0]}" >"$CLI_TMP/metainfo.log" 2>&1 ||
    fail "the metainfo: $(cat "$CLI_TMP/metainfo.log")"
# The tree as a whole: the metainfo's launchable names a desktop entry that is in the package.
appstreamcli validate-tree --no-net "$root" >"$CLI_TMP/tree.log" 2>&1 ||
    fail "the metainfo and the desktop entry: $(cat "$CLI_TMP/tree.log")"
grep -m 1 '<release ' "${metainfo[0]}" | grep -q "version=\"$version\"" ||
    fail "the metainfo's latest release is not $version"

# Lintian refuses to be trusted with root's rights; CI runs as root.
lint=(lintian --fail-on error,warning --tag-display-limit 0 "$deb")
if [[ $(id -u) -eq 0 ]]; then
    chmod -R a+rX "$CLI_TMP"
    lint=(runuser -u nobody -- "${lint[@]}")
fi
timeout 300 "${lint[@]}" >"$CLI_TMP/lintian.log" 2>&1 || fail "lintian: $(cat "$CLI_TMP/lintian.log")"
echo PASS
