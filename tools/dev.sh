#!/usr/bin/env bash
# The two set-up commands of the README:
#   tools/dev.sh run            build Vantrel and start it
#   tools/dev.sh test [ARGS]    build Vantrel and run the tests (ARGS go to ctest)
#   tools/dev.sh deb            build Vantrel and its Debian package in build/
# Each installs the Debian packages it needs when they are missing, then
# configures and builds incrementally in build/.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${VANTREL_BUILD_DIR:-$ROOT/build}

PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-webengine-dev qt6-qpa-plugins libqt6webenginecore6-bin libgl-dev
    libcurl4-openssl-dev zlib1g-dev libbenchmark-dev
    # The record of published listings is an SQLite database.
    libqt6sql6-sqlite
    fonts-dejavu-core xvfb xauth
    desktop-file-utils appstream
    # The package test makes the .deb and has lintian check it.
    lintian dpkg-dev file
    # pdfinfo and pdftotext check the pages the editor prints to a PDF file.
    poppler-utils
    # Metric-compatible stand-ins for Arial, Times New Roman and Courier New,
    # so the editor, the preview and the listing set text alike.
    fonts-liberation fonts-liberation2
    # The Document page's tool pictures: the icon theme and the engine that
    # draws its SVG icons.
    breeze-icon-theme libqt6svg6
    # Qt's own dialogs (files, colours) in French when the program is.
    qt6-translations-l10n
    # A WebDAV server over HTTPS for the upload tests, and the certificates
    # they make for it.
    rclone openssl
    # The desktop's secret store keeps the upload password; the tests run a
    # real one in a private D-Bus session.
    qtkeychain-qt6-dev gnome-keyring dbus-daemon dbus-bin
    # The SFTP and FTP/FTPS servers the upload tests start on loopback ports.
    python3-asyncssh python3-bcrypt python3-pyftpdlib python3-openssl
)

install_missing_packages() {
    local missing=() package
    for package in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    ((${#missing[@]})) || return 0
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing missing packages: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}

# Options for the configure step, e.g. VANTREL_CMAKE_OPTIONS="-DVANTREL_BUILD_BENCH=ON".
CONFIGURE=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${VANTREL_CMAKE_OPTIONS:-})

build() {
    # Configured again whenever the options differ from the last configure.
    local stamp="$BUILD/.dev-configure"
    if [ ! -f "$BUILD/build.ninja" ] || [ "$(cat "$stamp" 2>/dev/null)" != "${CONFIGURE[*]}" ]; then
        cmake -S "$ROOT" -B "$BUILD" "${CONFIGURE[@]}" >/dev/null
        printf '%s' "${CONFIGURE[*]}" >"$stamp"
    fi
    cmake --build "$BUILD"
}

# Qt WebEngine's sandbox cannot run as root.
if [ "$(id -u)" -eq 0 ]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi

case "${1:-}" in
run)
    install_missing_packages
    build
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): starting Vantrel under xvfb-run."
        exec xvfb-run -a -s "-screen 0 1280x1024x24" "$BUILD/bin/vantrel"
    fi
    exec "$BUILD/bin/vantrel"
    ;;
test)
    shift
    install_missing_packages
    build
    export QT_QPA_PLATFORM=offscreen
    export QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"
    cd "$BUILD"
    exec ctest --output-on-failure --parallel "$(nproc)" "$@"
    ;;
deb)
    PACKAGES+=(dpkg-dev file)
    install_missing_packages
    build
    cd "$BUILD"
    exec cpack -G DEB
    ;;
*)
    echo "usage: $0 run | test [ctest arguments] | deb" >&2
    exit 2
    ;;
esac
