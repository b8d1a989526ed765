# Shared by run.sh and test.sh: install what is missing, then configure and build.
# Sourced, not run; expects ROOT to be the source folder.

vantrel_install_packages() {
    local missing=()
    local pkg
    while read -r pkg; do
        [ -n "$pkg" ] || continue
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done < "$ROOT/scripts/packages.txt"
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

# vantrel_build <folder> [-D… overrides]: configures on every call (a second when nothing
# changed), so these options hold whichever script configured the folder first. run.sh and
# test.sh build ./build with the same options, warnings as errors included, so switching
# between them never rebuilds everything.
vantrel_build() {
    local builddir="$1"; shift
    export CCACHE_BASEDIR="$ROOT"
    export CCACHE_NOHASHDIR=1
    local jobs
    jobs=$(nproc)
    cmake -S "$ROOT" -B "$builddir" -G Ninja --log-level=WARNING \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_WERROR=ON -DVANTREL_SANITIZE=OFF \
        -DVANTREL_BUILD_TESTS=ON -DVANTREL_BUILD_BENCH=ON "$@"
    cmake --build "$builddir" --parallel "$jobs"
}
