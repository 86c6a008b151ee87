# Shared by the scripts: installs what a fresh Debian 12 machine lacks, and
# configures and builds the project.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
PACKAGES=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  libsdl2-dev libfreeimage-dev libpng-dev zlib1g-dev libglu1-mesa-dev
  libopenmpt-dev libmpg123-dev libmp3lame-dev libfreetype-dev fonts-dejavu-core
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool xfonts-base libx11-dev libgl1-mesa-dri libgl1 libglx-mesa0 ffmpeg
  libassimp-dev libmeshoptimizer-dev
  libtinygltf-dev nlohmann-json3-dev
  desktop-file-utils appstream man-db
  libosd-dev
)

install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
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
  cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "${LAUNCHER[@]}" "$@" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
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
