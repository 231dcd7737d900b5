# Sourced by the measuring scripts. vsi_mingw_build DIR TARGET...: makes DIR a MinGW-w64
# Release build when it is not one yet (build/mingw through the mingw preset), then builds
# the targets, its output on stderr. Does nothing with VSI_BENCH_NO_BUILD=1.
vsi_mingw_build() {
  [ "${VSI_BENCH_NO_BUILD:-0}" = 1 ] && return 0
  local root dir="$1"
  shift
  root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
  if [ ! -f "$dir/build.ninja" ]; then
    if [ "$dir" -ef "$root/build/mingw" ] || [ "$dir" = "$root/build/mingw" ]; then
      (cd "$root" && cmake --preset mingw) >/dev/null || return 1
    else
      cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null || return 1
    fi
  fi
  cmake --build "$dir" --target "$@" -j2 >&2
}
