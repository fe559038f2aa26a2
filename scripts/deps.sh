#!/bin/sh
# Installs the Debian packages the build and the tests need, where missing.
# Sourced by the other scripts; needs root (or sudo) only when something is missing.
set -e

ZELVORS_PACKAGES="cmake make g++ pkg-config googletest libgtest-dev libbenchmark-dev
    qt6-base-dev libqt6opengl6-dev qt6-svg-dev qt6-multimedia-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri
    libopencv-core-dev libopencv-imgproc-dev libopencv-imgcodecs-dev
    xvfb xauth fonts-dejavu-core xdotool imagemagick
    scdoc librsvg2-bin dpkg-dev file lintian appstream desktop-file-utils shared-mime-info poppler-utils"

zelvors_install_deps() {
    missing=""
    for p in $ZELVORS_PACKAGES "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing="$missing $p"
        fi
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
}
