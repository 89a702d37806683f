# Shared by the two set-up commands: installs the Debian packages the project needs (only when one
# is missing), then configures and builds into build/. Sourced, not run.

# Debian 12 packages the show needs to build and run (the content generator, the program, capture
# with ffmpeg, the contact sheet's font), and those only the tests, benchmarks, packaging checks
# and fuzz targets need (clang and its runtimes for the fuzz targets).
REDKITE_SHOW_PACKAGES=(
  cmake ninja-build g++ pkg-config
  libstb-dev libjpeg62-turbo-dev
  libmpg123-dev libsdl2-dev libkissfft-dev libmp3lame-dev
  libepoxy-dev libegl-dev libegl-mesa0 libgl1-mesa-dri
  libimgui-dev libcli11-dev fonts-dejavu-core
  ffmpeg python3
)
REDKITE_TEST_PACKAGES=(
  libgtest-dev libbenchmark-dev
  xvfb xdotool
  desktop-file-utils man-db dpkg-dev lintian
  clang libclang-rt-14-dev
)

# redkite_install_packages [show]: every package, or with "show" only what the show needs.
redkite_install_packages() {
  local wanted=("${REDKITE_SHOW_PACKAGES[@]}")
  [ "${1:-}" = show ] || wanted+=("${REDKITE_TEST_PACKAGES[@]}")
  local missing=()
  local package
  for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$package")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
  fi
  echo "Installing Debian packages: ${missing[*]}"
  "${sudo[@]}" apt-get update
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

redkite_build() {
  cmake -S . -B build -G Ninja "$@"
  cmake --build build
}
