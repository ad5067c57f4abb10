# Sourced after wine_env.sh: configures and builds the program.
#   pw_build ARCH TESTS [TARGET]   ARCH i686 or x86_64, TESTS ON or OFF;
#   TARGET: only that target (default: everything)
pw_build() {
  local arch=$1 tests=$2 dir="$PW_BUILD/$1" target=()
  [ -n "${3:-}" ] && target=(--target "$3")
  cmake -S "$PW_ROOT" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$PW_ROOT/cmake/mingw.cmake" \
        -DPW_ARCH="$arch" -DPW_TESTS="$tests" -DPW_WINE="$PW_WINE" \
        -DCMAKE_BUILD_TYPE=Release >"$PW_BUILD/run/cmake-$arch.log" 2>&1 \
    || { cat "$PW_BUILD/run/cmake-$arch.log"; return 1; }
  local log="$PW_BUILD/run/build-$arch.log"
  if ! cmake --build "$dir" -j"$(nproc)" "${target[@]}" >"$log" 2>&1; then
    cat "$log"
    echo "build failed for $arch" >&2
    return 1
  fi
  grep -E 'imports ok|warning' "$log" || true
}
