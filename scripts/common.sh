# Shared by run.sh and test.sh: make sure the Debian packages the build needs are installed.
# As root the missing ones are installed; otherwise the exact command is printed and we stop.

ensure_packages() {
    local missing=()
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing: ${missing[*]}"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq && apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null ||
            { echo "apt-get failed" >&2; exit 1; }
    else
        echo "Missing packages. Install them with:" >&2
        echo "  sudo apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
}

BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev)
# The dialogs' font (a Song face with the metrics the templates were laid out for), which also
# shows the program's Chinese texts.
FONT_PACKAGES=(fonts-arphic-uming)

# A compiler cache, when one is installed, makes rebuilds of a fresh clone fast.
CCACHE_ARGS=()
if command -v ccache >/dev/null 2>&1; then
    CCACHE_ARGS=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
