#!/bin/sh
# Builds the Debian package from a built tree, unpacks it (no root needed) and
# checks what a user and the distribution's validators see: the files and their
# places, the control fields, the programs running from the unpacked tree,
# lintian, appstreamcli and desktop-file-validate.
# usage: test_package.sh BUILD_DIR WORK_DIR VERSION
set -u
build=$1
work=$2
version=$3
appid=org.zelvors.zelvorscube
. "$(dirname "$0")/../support/checks.sh"

for tool in cpack dpkg-deb lintian appstreamcli desktop-file-validate update-mime-database file gzip; do
    command -v "$tool" >/dev/null || { echo "missing tool: $tool (scripts/deps.sh installs it)"; exit 1; }
done

rm -rf "$work"
mkdir -p "$work"
(cd "$build" && cpack -G DEB -B "$work/out") > "$work/cpack.log" 2>&1
check "cpack builds the package" $?
deb=$(ls "$work"/out/zelvorscube_"$version"_*.deb 2>/dev/null)
if [ ! -f "$deb" ]; then
    cat "$work/cpack.log"
    echo "FAILED: no zelvorscube_${version}_*.deb"
    exit 1
fi

# Control fields: the project's version, runtime dependencies found by dpkg-shlibdeps.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = zelvorscube ]; check "package name" $?
[ "$(field Version)" = "$version" ]; check "package version is the project's ($(field Version))" $?
[ -n "$(field Maintainer)" ] && [ -n "$(field Section)" ] && [ -n "$(field Description)" ]
check "maintainer, section and description are set" $?
depends=$(field Depends)
for lib in libc6 libstdc++6 libqt6widgets6 libqt6gui6 libqt6core6; do
    echo "$depends" | grep -q "$lib"; check "Depends names $lib" $?
done

root="$work/root"
dpkg-deb -x "$deb" "$root"; check "dpkg-deb -x unpacks" $?

# Files and places; nothing outside /usr.
[ -z "$(cd "$root" && find . -mindepth 1 -maxdepth 1 ! -name usr)" ]; check "only /usr is touched" $?
for f in usr/bin/ZelvorsCube usr/bin/zelvors-solve; do
    [ -x "$root/$f" ]; check "$f is an executable" $?
    file "$root/$f" | grep -q "stripped" && ! file "$root/$f" | grep -q "not stripped"
    check "$f is stripped" $?
done
for f in usr/share/applications/$appid.desktop usr/share/metainfo/$appid.metainfo.xml \
         usr/share/mime/packages/$appid.xml \
         usr/share/icons/hicolor/scalable/apps/zelvorscube.svg \
         usr/share/doc/zelvorscube/copyright usr/share/doc/zelvorscube/changelog.gz; do
    [ -f "$root/$f" ]; check "$f is there" $?
done
for size in 16 32 48 64 128 256; do
    png="$root/usr/share/icons/hicolor/${size}x${size}/apps/zelvorscube.png"
    file "$png" 2>/dev/null | grep -q "PNG image data, $size x $size,"
    check "the ${size}x${size} icon is a PNG of that size" $?
done
for page in man1/zelvors-solve.1.gz man6/ZelvorsCube.6.gz; do
    gzip -t "$root/usr/share/man/$page" 2>/dev/null; check "$page is a gzipped manual page" $?
done
# The manual page names every option of the program it describes.
zcat "$root/usr/share/man/man1/zelvors-solve.1.gz" > "$work/zelvors-solve.1"
for opt in --method --max-length --notation --diagnose --apply --shuffle --help --version; do
    grep -qF -- "\\fB$opt\\fR" "$work/zelvors-solve.1"
    check "zelvors-solve(1) describes $opt" $?
done

# The desktop entry, the metainfo and the icon name agree with one another.
desktop="$root/usr/share/applications/$appid.desktop"
metainfo="$root/usr/share/metainfo/$appid.metainfo.xml"
grep -q '^Exec=ZelvorsCube %f$' "$desktop"; check "the desktop entry starts ZelvorsCube with the file opened" $?
mime="$root/usr/share/mime/packages/$appid.xml"
type=application/x-zelvors-cube
grep -q "^MimeType=$type;$" "$desktop"; check "the desktop entry takes cube files" $?
grep -q "<mediatype>$type</mediatype>" "$metainfo"; check "the metainfo provides the cube files' type" $?
grep -q "<mime-type type=\"$type\">" "$mime" && grep -q '<glob pattern="\*.zcube"/>' "$mime"
check "the shared-mime-info file defines the type and its extension" $?
# The database built from the package's file alone names a cube file's type.
mkdir -p "$work/mime/packages" && cp "$mime" "$work/mime/packages/" &&
    update-mime-database "$work/mime" > /dev/null 2>&1 &&
    grep -q "^$type:\*\.zcube$" "$work/mime/globs"
check "update-mime-database reads it (glob *.zcube)" $?
grep -q '^Icon=zelvorscube$' "$desktop"; check "the desktop entry names the installed icon" $?
grep -q "<id>$appid</id>" "$metainfo"; check "the metainfo id is the desktop file's name" $?
grep -q "<launchable type=\"desktop-id\">$appid.desktop</launchable>" "$metainfo"
check "the metainfo launches the desktop entry" $?
newest=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo" | head -1)
[ "$newest" = "$version" ]; check "the newest release in the metainfo is $version ($newest)" $?
zcat "$root/usr/share/doc/zelvorscube/changelog.gz" | head -1 | grep -q "^zelvorscube ($version)"
check "the changelog's newest entry is $version" $?

# The programs run from the unpacked tree, with the libraries the system has.
for f in usr/bin/ZelvorsCube usr/bin/zelvors-solve; do
    ! ldd "$root/$f" | grep -q "not found"; check "every library of $f is found" $?
done
solve="$root/usr/bin/zelvors-solve"
[ "$("$solve" --version)" = "zelvors-solve $version" ]; check "zelvors-solve --version prints $version" $?
solved=111111111222222222333333333444444444555555555666666666
cube=$("$solve" --shuffle 1)
line=$(echo "$cube" | "$solve")
[ "$(echo "$line" | cut -f1)" = 0 ]; check "a scrambled cube is solved (result 0)" $?
[ "$(echo "$cube" | "$solve" --apply "$(echo "$line" | cut -f2)")" = "$solved" ]
check "its solution solves it" $?

# The ecosystem's own validators.
desktop-file-validate "$desktop"; check "desktop-file-validate" $?
appstreamcli validate --no-net --strict "$metainfo" > "$work/appstream.log" 2>&1
status=$?
[ $status -eq 0 ] || cat "$work/appstream.log"
check "appstreamcli validate --no-net" $status
# Root gets a notice from lintian that is no finding.
lintian --fail-on error,warning "$deb" > "$work/lintian.log" 2>&1
status=$?
grep -v '^running with root privileges' "$work/lintian.log"
check "lintian reports no errors and no warnings" $status

checks_summary
