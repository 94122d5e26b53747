#!/usr/bin/env bash
# The Debian package as a user receives it: made by cpack from this build, checked by
# Debian's own validators, unpacked into a scratch root with dpkg -x and compared with what
# its metadata promises (desktop entry, AppStream metadata, icons, manual page, documents).
#   package_test.sh SOURCE_DIR BUILD_DIR WORK_DIR [sanitised]
# Exits 77 (skipped) when a checker is not installed, and in a sanitiser build.
set -uo pipefail
src=$1 build=$2 work=$3

if [ "${4:-}" = sanitised ]; then
  echo "SKIPPED: a sanitiser build's program needs the sanitiser runtimes and is never shipped;" \
       "the package is made and checked from the normal build"
  exit 77
fi
missing=()
for tool in cpack dpkg dpkg-deb dpkg-parsechangelog appstreamcli desktop-file-validate lintian gzip md5sum; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "SKIPPED: not installed: ${missing[*]} (tools/test.sh installs them)"
  exit 77
fi

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# expect_eq WHAT ACTUAL EXPECTED
expect_eq() { [ "$2" = "$3" ] || fail "$1: '$2', expected '$3'"; }

rm -rf "$work" && mkdir -p "$work"
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAIL: cpack could not make the package"
  exit 1
fi
debs=("$work"/out/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: cpack made no single .deb: ${debs[*]}"; exit 1; }
deb=${debs[0]}
echo "Package: $deb"

# --- the package's own fields and checksums ---
package=$(dpkg-deb -f "$deb" Package)
version=$(dpkg-deb -f "$deb" Version)
expect_eq "package name" "$package" velmorath
expect_eq "section" "$(dpkg-deb -f "$deb" Section)" graphics
expect_eq "priority" "$(dpkg-deb -f "$deb" Priority)" optional
# The main window's caption names the release (major.minor).
caption=$(sed -n "s/^  Caption = 'Velmorath V\(.*\)'$/\1/p" "$src/app/forms/form1.txt")
[[ -n "$caption" && "$version" == "$caption".* ]] || fail "version $version is not the release the window names: V$caption"
[ -n "$(dpkg-deb -f "$deb" Depends)" ] || fail "no Depends: the libraries the program links are not named"
dpkg -x "$deb" "$work/root" || { echo "FAIL: dpkg -x could not unpack the package"; exit 1; }
dpkg-deb -e "$deb" "$work/control"
root=$work/root
if [ -s "$work/control/md5sums" ]; then
  (cd "$root" && md5sum --quiet -c "$work/control/md5sums") || fail "md5sums do not match the unpacked files"
  diff <(cd "$root" && find . -type f | sed 's|^\./||' | sort) <(awk '{print $2}' "$work/control/md5sums" | sort) ||
    fail "md5sums does not list exactly the package's files"
else
  fail "the package has no md5sums"
fi

# --fail-on takes levels one by one: "warning" alone lets errors pass.
report=$(lintian --fail-on error,warning "$deb" 2>&1)
status=$?
grep -v "running with root privileges" <<<"$report"
[ $status -eq 0 ] || fail "lintian reports warnings or errors"

# --- AppStream metadata ---
metainfos=("$root"/usr/share/metainfo/*.metainfo.xml)
[ ${#metainfos[@]} -eq 1 ] && [ -f "${metainfos[0]}" ] || { echo "FAIL: no single metainfo file"; exit 1; }
metainfo=${metainfos[0]}
tag() { sed -n "s|.*<$1>\(.*\)</$1>.*|\1|p" "$metainfo" | head -n 1; }
id=$(tag id)
expect_eq "metainfo file name" "$(basename "$metainfo")" "$id.metainfo.xml"
expect_eq "window class the program sets" \
  "$(sed -n 's/.*kDesktopAppId = "\(.*\)";.*/\1/p' "$src/platform/sdl/sdl_frame_hints.h")" "$id"
grep -q '<component type="desktop-application">' "$metainfo" || fail "the component is not a desktop application"
grep -q '<content_rating type="oars-1.1"' "$metainfo" || fail "no OARS content rating"
for element in name summary description developer_name metadata_license project_license caption; do
  grep -q "<$element>" "$metainfo" || fail "metainfo has no <$element>"
done
validation=$(appstreamcli validate --no-net "$metainfo" 2>&1)
status=$?
echo "$validation"
{ [ $status -eq 0 ] && ! grep -qE '^[EW]:' <<<"$validation"; } || fail "appstreamcli validate reports errors or warnings"
validation=$(appstreamcli validate-tree --no-net "$root" 2>&1)
status=$?
{ [ $status -eq 0 ] && ! grep -qE '^[EW]:' <<<"$validation"; } || { echo "$validation"; fail "appstreamcli validate-tree fails"; }
release=$(grep -o '<release version="[^"]*" date="[^"]*"' "$metainfo" | head -n 1)
expect_eq "newest release in the metainfo" "$(sed 's/.*version="\([^"]*\)".*/\1/' <<<"$release")" "$version"
release_date=$(sed 's/.*date="\([^"]*\)".*/\1/' <<<"$release")
homepage=$(sed -n 's|.*<url type="homepage">\(.*\)</url>.*|\1|p' "$metainfo")
screenshot=$(tag image)
[[ -n "$homepage" && "$screenshot" == "$homepage"* ]] || fail "screenshot '$screenshot' is not under the homepage '$homepage'"
[ -f "$src/app/desktop/${screenshot#"$homepage"}" ] || fail "the screenshot ${screenshot#"$homepage"} is not in app/desktop"
expect_eq "homepage in the package" "$(dpkg-deb -f "$deb" Homepage)" "$homepage"

# --- desktop entry ---
launchable=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$metainfo")
expect_eq "launchable" "$launchable" "$id.desktop"
entry=$root/usr/share/applications/$launchable
if [ -f "$entry" ]; then
  validation=$(desktop-file-validate "$entry" 2>&1)
  status=$?
  { [ $status -eq 0 ] && [ -z "$validation" ]; } || { echo "$validation"; fail "desktop-file-validate is not clean"; }
  key() { sed -n "s/^$1=//p" "$entry"; }
  expect_eq "StartupWMClass" "$(key StartupWMClass)" "$id"
  expect_eq "Icon" "$(key Icon)" "$id"
  [[ ";$(key Categories)" == *";Graphics;"* && ";$(key Categories)" == *";Viewer;"* ]] ||
    fail "Categories '$(key Categories)' lacks Graphics and Viewer"
  [ -n "$(key Keywords)" ] || fail "the desktop entry has no Keywords"
  binary=$(key Exec | cut -d' ' -f1)
  [ -x "$root/usr/bin/$binary" ] && [ -f "$root/usr/bin/$binary" ] || fail "Exec '$binary' is not an executable in /usr/bin"
  expect_eq "binary the metainfo provides" "$(tag binary)" "$binary"
else
  fail "no desktop entry at ${entry#"$root"}"
  binary=velmorath
fi

# --- icons: every size the theme expects, each of its size ---
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216 + $2*65536 + $3*256 + $4 "x" $5*16777216 + $6*65536 + $7*256 + $8}'; }
for size in 16 32 48 64 128 256; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png
  if [ -f "$icon" ] && [ "$(head -c 8 "$icon" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ]; then
    expect_eq "size of ${icon#"$root"}" "$(png_size "$icon")" "${size}x${size}"
  else
    fail "no PNG icon at ${icon#"$root"}"
  fi
done
svg=$root/usr/share/icons/hicolor/scalable/apps/$id.svg
grep -q '<svg ' "$svg" 2>/dev/null || fail "no scalable icon at ${svg#"$root"}"

# --- manual page, compressed, covering what the program reads from its environment ---
manual=$root/usr/share/man/man1/$binary.1.gz
if gzip -t "$manual" 2>/dev/null; then
  page=$(gzip -dc "$manual")
  grep -q "^\.TH ${binary^^} 1 .*\"Velmorath $version\"" <<<"$page" || fail "manual page header does not name version $version"
  for section in NAME SYNOPSIS DESCRIPTION KEYS ENVIRONMENT FILES "EXIT STATUS"; do
    grep -q "^\.SH \"\?$section\"\?$" <<<"$page" || fail "manual page has no $section section"
  done
  for variable in $(grep -rhoE 'getenv\("[A-Z_]+"\)' "$src/app" "$src/platform" "$src/framework" |
                    sed 's/getenv("\(.*\)")/\1/' | sort -u); do
    grep -q "^\.B.* $variable\b" <<<"$page" || fail "manual page does not describe $variable, which the program reads"
  done
else
  fail "no compressed manual page at ${manual#"$root"}"
fi

# --- documents: copyright and changelog, the changelog's newest entry this release ---
doc=$root/usr/share/doc/$package
grep -q '^Copyright: ' "$doc/copyright" 2>/dev/null || fail "no copyright file with a Copyright field"
if [ -f "$doc/changelog.gz" ]; then
  gzip -dc "$doc/changelog.gz" >"$work/changelog"
  expect_eq "changelog version" "$(dpkg-parsechangelog -l "$work/changelog" -S Version)" "$version"
  expect_eq "changelog date" "$(date -u -d "$(dpkg-parsechangelog -l "$work/changelog" -S Date)" +%F)" "$release_date"
else
  fail "no changelog.gz in ${doc#"$root"}"
fi

# --- nothing else: every file of the package is one the checks above account for ---
expected=$(printf '%s\n' "usr/bin/$binary" "usr/share/applications/$id.desktop" "usr/share/metainfo/$id.metainfo.xml" \
  usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/"$id.png" \
  "usr/share/icons/hicolor/scalable/apps/$id.svg" "usr/share/man/man1/$binary.1.gz" \
  "usr/share/doc/$package/copyright" "usr/share/doc/$package/changelog.gz" | sort)
diff <(echo "$expected") <(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | sort) ||
  fail "the package holds other files than those above (< missing, > unexpected)"

if [ $failures -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "The package and its metadata agree"
