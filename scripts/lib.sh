# Shared steps of scripts/run, scripts/test and scripts/bench. Source it; do not run it.

QK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QK_PACKAGES=(cmake ninja-build g++ qt6-base-dev libgl-dev)

# Installs, from Debian's packages, whatever of QK_PACKAGES (and "$@") is missing.
qk_install() {
    local missing=()
    local p
    for p in "${QK_PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
}

# qk_build DIR [cmake options...]: configures once, then builds incrementally.
qk_build() {
    local dir="$1"
    shift
    if [ ! -f "$QK_ROOT/$dir/build.ninja" ]; then
        cmake -S "$QK_ROOT" -B "$QK_ROOT/$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    fi
    cmake --build "$QK_ROOT/$dir" -j"$(nproc)"
}
