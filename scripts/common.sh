# Shared by the demo and the test command: where things are, how the three
# build trees are made, and how Wine is started for the Windows programs.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build
jobs=$(nproc)
export WINEDEBUG=-all

# configure_and_build DIR CMAKE-ARGS...: quiet unless something fails. Builds
# every target, or only those named in $build_targets when it is set.
configure_and_build() {
  local dir=$1
  shift
  mkdir -p "$dir"
  if ! cmake -S "$root" -B "$dir" "$@" > "$dir/configure.log" 2>&1; then
    cat "$dir/configure.log"
    return 1
  fi
  if ! cmake --build "$dir" -j "$jobs" ${build_targets:+--target $build_targets} > "$dir/build.log" 2>&1; then
    grep -E -B2 -A8 'error|Error' "$dir/build.log" | head -100
    return 1
  fi
}

# Native code with the sanitizers: unit tests and the demo's measures and pictures.
build_native() {
  configure_and_build "$build/native" -DCMAKE_BUILD_TYPE=Debug -DORVANE_SANITIZE=ON "$@"
}

# The tests that run threads (analysis requests, the debug log, the editor's
# hand-over between the audio and the user-interface side, orvane-analyze's
# threads for one file), under ThreadSanitizer.
build_native_threads() {
  mkdir -p "$build/native-threads"
  cmake -S "$root" -B "$build/native-threads" -DCMAKE_BUILD_TYPE=Debug -DORVANE_SANITIZE=thread \
    > "$build/native-threads/configure.log" 2>&1 &&
    cmake --build "$build/native-threads" -j "$jobs" --target analysis_tests x11_tests analyze_tests > "$build/native-threads/build.log" 2>&1 ||
    { tail -50 "$build/native-threads/build.log"; return 1; }
}

# The Linux plug-ins and orvane-analyze with its manual page as users get
# them (no sanitizers), with what the real-host checks run.
build_linux() {
  build_targets="vst_orvane vst_orvane_x2 lv2_orvane lv2_orvane_x2 vst3_orvane vst3_orvane_x2 orvhost_x11 orvhost_x11_x2 \
    orvhost_vst3 editorShot lv2Checks demoWav orvane-analyze orvane-analyze-man" \
    configure_and_build "$build/linux" -DCMAKE_BUILD_TYPE=Release -DORVANE_SANITIZE=OFF "$@"
}

# The 32-bit deliverables, and the 64-bit build of the same sources for Wine.
build_windows() {
  configure_and_build "$build/win32" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" "$@" &&
  configure_and_build "$build/win64" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" "$@"
}

# start_wine 32|64: one persistent Wine session per prefix, so that each test
# program starts in a fraction of a second. Its services get no terminal, or
# ctest would wait for them to close its pipes.
start_wine() {
  local bits=$1
  if [ "$bits" = 64 ]; then
    export WINEPREFIX=$build/wineprefix64
    unset WINEARCH
    wine_loader=/usr/lib/wine/wine64
    wine_server=/usr/lib/wine/wineserver64
  else
    export WINEPREFIX=$build/wineprefix32 WINEARCH=win32
    wine_loader=wine
    wine_server=wineserver
  fi
  # A server left over from an earlier run would refuse to start a second one.
  "$wine_server" -k > /dev/null 2>&1 || true
  # The server needs the prefix folder; wineboot fills it on first use (some seconds).
  mkdir -p "$WINEPREFIX" &&
    setsid "$wine_server" -p < /dev/null > /dev/null 2>&1 &&
    timeout 300 setsid "$wine_loader" wineboot < /dev/null > /dev/null 2>&1
}

# An X display of our own for the window tests and screenshots (Wine needs
# one to create windows): the first free display number from 90 on.
start_display() {
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do
    n=$((n + 1))
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp < /dev/null > /dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=:$n
  local tries=0
  until [ -e "/tmp/.X11-unix/X$n" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ] || ! kill -0 "$xvfb_pid" 2> /dev/null; then
      echo "Xvfb did not start on :$n"
      return 1
    fi
    sleep 0.1
  done
}

# Safe to call when no display was started.
stop_display() {
  if [ -n "${xvfb_pid:-}" ]; then
    kill "$xvfb_pid" 2> /dev/null || true
    wait "$xvfb_pid" 2> /dev/null || true
    xvfb_pid=
  fi
}

# Safe to call when no session runs.
stop_wine() {
  if [ -n "${wine_server:-}" ]; then
    "$wine_server" -k > /dev/null 2>&1 || true
  fi
}

# True where 32-bit Windows programs can run (wine32 needs 32-bit Linux
# executables, which some kernels and sandboxes refuse).
wine32_works() {
  start_wine 32 && timeout 120 wine "$build/win32/bin/windows_tests.exe" --gtest_list_tests < /dev/null > /dev/null 2>&1
  local ok=$?
  stop_wine
  return $ok
}
