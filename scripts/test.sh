#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests under the
# sanitizers, and the Windows tests under Wine. Ends with "N passed, M failed".
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

bash "$root/scripts/setup.sh" || exit 1
passed=0
failed=0
skipped=0
trap 'stop_wine; stop_display' EXIT

# run_ctest DIR ARGS...: runs ctest and adds its counts to the totals.
run_ctest() {
  local dir=$1
  shift
  local log=$dir/ctest.log
  (cd "$dir" && ctest --output-on-failure --timeout 300 "$@") 2>&1 | tee "$log" | grep -v -E '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed'
  local summary
  summary=$(grep -E '[0-9]+ tests failed out of [0-9]+' "$log" | tail -1)
  if [ -z "$summary" ]; then
    echo "ctest in $dir reported no result"
    failed=$((failed + 1))
    return
  fi
  local total bad
  bad=$(echo "$summary" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/')
  total=$(echo "$summary" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/')
  passed=$((passed + total - bad))
  failed=$((failed + bad))
}

# count_checks LOG STATUS: the PASS and FAIL lines of a check script; a
# script that stopped before reporting a failure still counts as one.
count_checks() {
  cat "$1"
  local bad
  bad=$(grep -c '^FAIL' "$1")
  [ "$2" -ne 0 ] && [ "$bad" -eq 0 ] && bad=1
  passed=$((passed + $(grep -c '^PASS' "$1")))
  failed=$((failed + bad))
}

# check_host_measures BIN: orvane-analyze's nine measures against the test
# host's of BIN under the running Wine, counted as one test.
check_host_measures() {
  echo "== the nine measures: orvane-analyze and the test host ($1)"
  if bash "$root/tests/analyze/compareWithTestHost.sh" "$build/native/bin/orvane-analyze" "$1" "$wine_loader"; then
    passed=$((passed + 1))
  else
    echo "the measures differ, or a program could not run"
    failed=$((failed + 1))
  fi
}

# One X display for every window test: the native X11 tests and Wine's.
if ! start_display; then
  echo "no X display: the window tests cannot run"
  failed=$((failed + 1))
fi

echo "== native build (AddressSanitizer, UndefinedBehaviorSanitizer)"
if build_native; then
  run_ctest "$build/native" -j "$jobs"
else
  echo "native build failed"
  failed=$((failed + 1))
fi

echo "== orvane-analyze under zzuf (the sanitizer build; 300 cases of tests/analyze/fuzz.sh)"
if [ -x "$build/native/bin/orvane-analyze" ]; then
  bash "$root/tests/analyze/fuzz.sh" "$build/native/bin/orvane-analyze" 300 "$build/fuzz-failures" \
    > "$build/fuzz.log" 2>&1
  count_checks "$build/fuzz.log" $?
else
  echo "orvane-analyze was not built"
  failed=$((failed + 1))
fi

echo "== native threads (ThreadSanitizer)"
if build_native_threads; then
  run_ctest "$build/native-threads" -R '^(analysis_tests\.(AnalyzerRequests|DebugLog)|x11_tests\.X11EditorThreadsTest|analyze_tests\.(AnalyzeParallel|LoudnessMeter))\.'
else
  echo "thread sanitizer build failed"
  failed=$((failed + 1))
fi

echo "== Windows builds (i686 deliverables, x86_64 for Wine)"
if build_windows -DORVANE_WINE_TESTS=ON; then
  echo "== x86_64 tests under wine64"
  if start_wine 64; then
    run_ctest "$build/win64"
    check_host_measures "$build/win64/bin"
  else
    echo "wine64 did not start"
    failed=$((failed + 1))
  fi
  stop_wine
  if wine32_works; then
    echo "== i686 tests under wine"
    if start_wine 32; then
      run_ctest "$build/win32"
      check_host_measures "$build/win32/bin"
    else
      failed=$((failed + 1))
    fi
    stop_wine
  else
    cmake -S "$root" -B "$build/win32" -DORVANE_WINE_TESTS=OFF > /dev/null
    # The DLLs are still checked as files; the same tests ran on the x86_64 build.
    # Wine tests are named x86_64.<area>.<test>; the DLL file checks have no area.
    wine_tests=$(grep -c -E 'Test +#[0-9]+: x86_64\.[a-z0-9]+\.' "$build/win64/ctest.log" 2> /dev/null || true)
    skipped=${wine_tests:-0}
    echo "== i686: 32-bit programs cannot run on this machine; checking the DLL files only ($skipped Wine tests skipped)"
    run_ctest "$build/win32" -L dllFiles
  fi
  echo "== The Windows archive (scripts/package.sh)"
  if bash "$root/scripts/package.sh" > "$build/package.log" 2>&1 && start_wine 64; then
    sh "$root/tests/windows/archive/checkArchive.sh" "$(grep 'windows\.zip$' "$build/package.log")" "$wine_loader" \
      "$build/win64/bin/printVersionResource.exe" > "$build/archive-check.log" 2>&1
    archive_status=$?
    cat "$build/archive-check.log"
    archive_failed=$(grep -c '^FAIL' "$build/archive-check.log")
    # A check that stopped before reporting still counts as a failure.
    [ "$archive_status" -ne 0 ] && [ "$archive_failed" -eq 0 ] && archive_failed=1
    passed=$((passed + $(grep -c '^PASS' "$build/archive-check.log")))
    failed=$((failed + archive_failed))
  else
    cat "$build/package.log"
    failed=$((failed + 1))
  fi
  stop_wine
else
  echo "Windows builds failed"
  failed=$((failed + 1))
fi

echo "== Linux plug-ins in real hosts (LV2: lv2info, lv2file, jalv; VST: the Linux test host; VST 3: Ardour's scanner, the VST 3 test host), the archive and the Debian package"
if build_linux; then
  bash "$root/tests/linux/checkRealHosts.sh" "$root" "$build/linux" "$build/linux/real-hosts" \
    > "$build/real-hosts.log" 2>&1
  count_checks "$build/real-hosts.log" $?
  bash "$root/tests/linux/checkVst3.sh" "$build/linux" "$build/linux/vst3-hosts" > "$build/vst3-hosts.log" 2>&1
  count_checks "$build/vst3-hosts.log" $?
  linux_archive=$(grep 'linux-x86_64\.tar\.gz$' "$build/package.log" 2> /dev/null)
  if [ -n "$linux_archive" ]; then
    bash "$root/tests/linux/checkLinuxArchive.sh" "$linux_archive" "$build/linux/bin/lv2Checks" \
      > "$build/linux-archive.log" 2>&1
    count_checks "$build/linux-archive.log" $?
  else
    echo "the Linux archive was not written"
    failed=$((failed + 1))
  fi
  deb=$(grep '_amd64\.deb$' "$build/package.log" 2> /dev/null)
  if [ -n "$deb" ]; then
    bash "$root/tests/linux/checkDebPackage.sh" "$deb" > "$build/deb-check.log" 2>&1
    count_checks "$build/deb-check.log" $?
  else
    echo "the Debian package was not written"
    failed=$((failed + 1))
  fi
else
  echo "Linux plug-in build failed"
  failed=$((failed + 1))
fi

echo
if [ "$skipped" -gt 0 ]; then
  echo "$passed passed, $failed failed, $skipped skipped"
else
  echo "$passed passed, $failed failed"
fi
[ "$failed" -eq 0 ]
