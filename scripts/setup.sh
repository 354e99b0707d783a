# Shared by the scripts: installs the Debian packages that are missing, and
# configures and builds the folders.
# Usage: source scripts/setup.sh; install_missing PACKAGE...; build_shared [TARGET...]

install_missing() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local apt=()
    if [ "$(id -u)" -eq 0 ]; then
        apt=(apt-get)
    elif command -v sudo >/dev/null 2>&1 && { sudo -n true 2>/dev/null || [ -t 0 ]; }; then
        apt=(sudo apt-get)  # without a cached login, sudo asks for the password on the terminal
    else
        echo "Missing packages. Install them with:" >&2
        echo "  sudo apt-get install -y ${missing[*]}" >&2
        return 1
    fi
    echo "Installing: ${missing[*]}"
    # Waits for another installer's lock instead of failing at once.
    "${apt[@]}" -o DPkg::Lock::Timeout=600 update -qq &&
        DEBIAN_FRONTEND=noninteractive "${apt[@]}" -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}"
}

# Temporary folders a script makes, removed however it exits.
temporary_folders=()
trap 'rm -rf "${temporary_folders[@]}"' EXIT

# Usage: make_temporary_folder NAME; sets $NAME to a fresh folder.
make_temporary_folder() {
    local folder
    folder=$(mktemp -d)
    temporary_folders+=("$folder")
    printf -v "$1" '%s' "$folder"
}

# What building the editor, the command-line tool and the tests needs.
build_packages=(
    build-essential cmake
    qt6-base-dev qt6-translations-l10n
    fonts-wqy-microhei
    libcli11-dev libunistring-dev nlohmann-json3-dev libboost-dev libssl-dev
    libgtest-dev libbenchmark-dev
    librsvg2-bin
)

configure_and_build() {
    local folder=$1
    shift
    cmake -S . -B "$folder" "$@" >/dev/null
    cmake --build "$folder" -j"$(nproc)"
}

# build/ has one configuration for every script that uses it, so that running
# one after another rebuilds only what changed. Builds the targets named, or all.
build_shared() {
    local targets=()
    [ $# -eq 0 ] || targets=(--target "$@")
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNEL_WERROR=ON >/dev/null
    cmake --build build -j"$(nproc)" "${targets[@]}"
}
