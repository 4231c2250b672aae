# Installs the Debian packages Bookshell builds and tests with. Sourced by the set-up scripts.
BOOKSHELL_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-webengine-dev qt6-pdf-dev fonts-dejavu-core
  libgumbo-dev libicu-dev libjpeg62-turbo-dev libarchive-dev libunarr-dev libavutil-dev
  libfluidsynth-dev fluid-soundfont-gm
  libiso9660-dev libcdio-dev xorriso
  pulseaudio pulseaudio-utils
  cups printer-driver-cups-pdf poppler-utils
  xvfb xauth weston qt6-wayland
  desktop-file-utils man-db groff-base appstream
  dpkg-dev file lintian
)

install_packages() {
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update
  $sudo apt-get install -y --no-install-recommends "${BOOKSHELL_PACKAGES[@]}"
}
