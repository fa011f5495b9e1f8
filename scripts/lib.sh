# Shared steps of scripts/run, scripts/test and scripts/bench. Source it; do not run it.

QK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# libfuse3-dev, fuse3 and pkg-config: the tests mount qk_share, a share that fails for real.
QK_PACKAGES=(cmake ninja-build g++ qt6-base-dev libgl-dev libfuse3-dev fuse3 pkg-config)

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
    if ! cmake --build "$QK_ROOT/$dir" -j"$(nproc)"; then
        # CMake 3.25 does not always run moc again for window classes added to an existing
        # build folder (undefined vtables at link time); forget moc's bookkeeping, try again.
        echo "Build failed; running moc again for every target and retrying."
        find "$QK_ROOT/$dir" -path '*_autogen/timestamp' -delete
        cmake --build "$QK_ROOT/$dir" -j"$(nproc)"
    fi
}
