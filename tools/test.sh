#!/usr/bin/env bash
# Installs what the build needs (Debian packages), then builds and runs the whole test
# suite: a normal build (its suite run twice, the second time with every core kept busy
# beside it) and an address+undefined sanitiser build. The normal build's suite includes
# the real program's run under valgrind and the soak.
# It also builds the fuzz targets with clang and runs each for a fixed number of inputs.
#   VELMORATH_SKIP_SANITIZE=1  runs the normal build only
#   VELMORATH_SKIP_LOAD=1      skips the second run beside the CPU hog
#   VELMORATH_SKIP_FUZZ=1      skips the fuzz targets
#   VELMORATH_INSTALL_ONLY=1   installs the packages and locales, and stops there
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake make g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libjpeg62-turbo-dev libpng-dev libfreetype-dev libfontconfig-dev
  fonts-liberation fonts-dejavu-core
  libsdl2-dev libx11-dev xvfb xdotool x11-utils openbox weston imagemagick locales dpkg-dev valgrind
  clang libclang-rt-14-dev
  appstream desktop-file-utils lintian
)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The date and time tests read the formats of these locales; where one cannot be
# generated, its tests are skipped and say so.
for loc in en_US de_DE; do
  if ! locale -a 2>/dev/null | grep -qiE "^${loc}\.utf-?8$"; then
    $sudo localedef -i "$loc" -f UTF-8 "$loc.UTF-8" || echo "Could not generate the locale $loc.UTF-8"
  fi
done

if [ "${VELMORATH_INSTALL_ONLY:-0}" = "1" ]; then exit 0; fi

jobs=$(nproc)
# No session bus here: keep the display library from trying D-Bus (it would leak at exit).
export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent

# A compiler cache, where one is installed, makes the rebuilds after a small change cheap.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

suite() { (cd "$1" && shift && ctest --output-on-failure -j "$jobs" "$@"); }
build() {
  local dir=$1; shift
  cmake -S . -B "$dir" "${launcher[@]}" "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  suite "$dir"
}

# Runs a command with one busy loop per core beside it; the loops end with it, or with
# this script however it ends.
cpu_hogs=()
trap '[ ${#cpu_hogs[@]} -eq 0 ] || kill "${cpu_hogs[@]}" 2>/dev/null || true' EXIT
beside_cpu_hog() {
  local status=0
  for _ in $(seq "$jobs"); do (while :; do :; done) & cpu_hogs+=($!); done
  "$@" || status=$?
  kill "${cpu_hogs[@]}" && wait "${cpu_hogs[@]}" 2>/dev/null || true
  cpu_hogs=()
  return $status
}

build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [ "${VELMORATH_SKIP_LOAD:-0}" != "1" ]; then
  echo "The suite again, with every core kept busy"
  beside_cpu_hog suite build
fi
if [ "${VELMORATH_SKIP_SANITIZE:-0}" != "1" ]; then
  build build-asan -DCMAKE_BUILD_TYPE=Debug -DVELMORATH_SANITIZE=ON -DVELMORATH_BENCH=OFF
fi

# The fuzz targets: a short fixed run each from the committed seeds (a count, not a time,
# so a loaded machine runs the same inputs). Longer campaigns: see fuzz/README.md.
has_libfuzzer() {
  command -v clang++ >/dev/null && command -v clang >/dev/null &&
    [ -f "$(clang++ -print-file-name=libclang_rt.fuzzer-x86_64.a)" ]
}
if [ "${VELMORATH_SKIP_FUZZ:-0}" != "1" ] && has_libfuzzer; then
  cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DVELMORATH_FUZZ=ON -DVELMORATH_BENCH=OFF >/dev/null
  cmake --build build-fuzz -j "$jobs" --target fuzz_targets
  for target in form_reader bitmap_file glyph_bitmap jpeg; do
    dict=()
    [ -f "fuzz/$target.dict" ] && dict=("-dict=fuzz/$target.dict")
    work=$(mktemp -d)
    echo "Fuzzing $target"
    "./build-fuzz/fuzz/${target}_fuzz" "$work" "fuzz/corpus/$target" "${dict[@]}" -runs=20000 -seed=1 \
      -max_len=8192 -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$work/" 2>&1 | tail -n 2
    rm -rf "$work"
  done
fi
