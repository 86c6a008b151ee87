# Shared by the scripts: installs what a fresh Debian 12 machine lacks, and
# configures and builds the project.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# What the show and its video need to build and run (scripts/play).
SHOW_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libfreeimage-dev libpng-dev zlib1g-dev libglu1-mesa-dev
  libopenmpt-dev libmpg123-dev libmp3lame-dev libfreetype-dev fonts-dejavu-core
  xvfb xauth xdotool libgl1-mesa-dri libgl1 libglx-mesa0 ffmpeg
  libtinygltf-dev nlohmann-json3-dev
  desktop-file-utils appstream man-db
  libosd-dev
)
# Everything: the tests, the benchmarks and the sanitizer builds besides.
PACKAGES=(
  "${SHOW_PACKAGES[@]}"
  clang libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev libx11-dev
  libassimp-dev libmeshoptimizer-dev
)

install_packages() {
  install_missing "${PACKAGES[@]}"
}

install_show_packages() {
  install_missing "${SHOW_PACKAGES[@]}"
}

install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "== installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# The export tests' Node packages (the glTF validator, three.js), pinned by
# tests/export/package-lock.json; installed once, again when the lock changes.
install_node_packages() {
  local dir="$ROOT/tests/export"
  # Debian's nodejs and npm where no Node is installed (a Node from
  # elsewhere brings its own npm, which Debian's npm package would clash with).
  if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends nodejs npm
  fi
  if [ -d "$dir/node_modules" ] && [ "$dir/node_modules/.package-lock.json" -nt "$dir/package-lock.json" ]; then
    return 0
  fi
  echo "== npm ci in tests/export"
  (cd "$dir" && npm ci --no-audit --no-fund)
}

# Compiles through ccache where it is installed: the sanitizer builds are
# slow, and a fresh clone then rebuilds from the cache.
LAUNCHER=()
if command -v ccache >/dev/null; then
  LAUNCHER=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

# build DIR BUILD_TYPE [extra cmake arguments...]
build() {
  local dir="$1" type="$2"
  shift 2
  cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "${LAUNCHER[@]}" \
    -DSKYDRIFT_TESTS=ON -DSKYDRIFT_BENCH=ON "$@" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
}

# build_show DIR: the show, the render tool and the show's assets only. A
# first configure leaves the tests and benchmarks out, so that their packages
# are not needed; a folder scripts/test configured keeps them.
build_show() {
  local dir="$1" options=()
  [ -f "$dir/CMakeCache.txt" ] || options=(-DSKYDRIFT_TESTS=OFF -DSKYDRIFT_BENCH=OFF)
  cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "${LAUNCHER[@]}" "${options[@]}" >/dev/null
  cmake --build "$dir" -j "$(nproc)" --target skydrift skydrift-render demo-pack
}

# Runs a command under a virtual 800x600 display when there is no display.
with_display() {
  if [ -n "${DISPLAY:-}" ]; then
    "$@"
  else
    xvfb-run -a -s "-screen 0 800x600x24" "$@"
  fi
}

# The show's length in seconds: the closing logo holds from 241.1 s.
SHOW_SECONDS=245
