#!/usr/bin/env bash
# Static analysis: clang-format and clang-tidy over the whole tree, with the checked-in
# .clang-format and .clang-tidy. Exits non-zero on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh lint
scripts/install-deps.sh fuzz
# clang-tidy reads each file's flags from the compile databases of the test and fuzz trees.
cmake --preset ci >/dev/null
cmake --preset fuzz >/dev/null

mapfile -t sources < <(git ls-files '*.cpp' '*.h')
echo "clang-format: ${#sources[@]} files"
clang-format --dry-run --Werror "${sources[@]}"

# tidy <compile database> <files...>: the findings, without clang-tidy's chatter about headers.
tidy() {
  local database=$1 log status=0
  shift
  log=$(mktemp)
  # One file a run: a run over several files has reported what the same file alone does not.
  printf '%s\n' "$@" | xargs -P "$(nproc)" -n 1 clang-tidy -p "$database" --quiet >"$log" 2>&1 || status=$?
  grep -v -e ' warnings\? generated\.$' -e '^Suppressed ' -e '^Use -header-filter' -e 'non-user code' "$log" || true
  rm -f "$log"
  return "$status"
}

# The Windows-only files (the backend, the Windows benchmark, the resource script's writer) are built
# by the Windows build with warnings as errors; the Linux compile database knows nothing of them, so
# clang-tidy leaves them out.
mapfile -t program < <(git ls-files '*.cpp' ':!fuzz/' ':!framework/win32/' ':!net/win32/' ':!tests/support/win32/' ':!tests/win32/' ':!tests/smoke/' ':!bench/windows/' ':!res/ResourceScript.cpp')
mapfile -t fuzzers < <(git ls-files 'fuzz/*.cpp')
echo "clang-tidy: ${#program[@]} files of the program and tests, ${#fuzzers[@]} fuzz targets"
tidy build/ci "${program[@]}"
tidy build/fuzz "${fuzzers[@]}"
echo "lint: clean"
