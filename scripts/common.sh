# Shared by the scripts: where things are, and the one way the project is built.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="${RIPVALE_BUILD_DIR:-$root/build}"

ripvale_build() {
    "$root/scripts/setup-deps"
    if [ ! -f "$build/build.ninja" ]; then
        cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    fi
    cmake --build "$build" -- -j"$(nproc)"
}
