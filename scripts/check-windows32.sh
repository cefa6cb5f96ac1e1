#!/usr/bin/env bash
# The 32-bit Windows program, checked as a file: these machines cannot run 32-bit code, so it is
# built and read, not started. It must be a 32-bit GUI program for Intel 80386, import nothing but
# the system's own DLLs (the C and C++ runtime linked in), carry the same resources as the 64-bit
# program, and its manifest must name the x86 processor and ask to run as the user who starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh windows32
for preset in windows32-release windows-release; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)" --target quenzo
done
exe32=build/windows32-release/app/Quenzo.exe
exe64=build/windows-release/app/Quenzo.exe
fail() {
  echo "check-windows32: $*" >&2
  exit 1
}

kind=$(file -b "$exe32")
[[ $kind == "PE32 executable (GUI) Intel 80386"* ]] || fail "not a 32-bit Windows GUI program: $kind"
echo "ok   $kind"

# Imports: the system's DLLs only.
system='^(kernel32|user32|gdi32|comctl32|ws2_32|winmm|ole32|oleaut32|oleacc|advapi32|shell32|msvcrt)\.dll$'
while read -r dll; do
  [[ ${dll,,} =~ $system ]] || fail "imports $dll, which is not a system DLL"
done < <(i686-w64-mingw32-objdump -p "$exe32" | sed -n 's/^[[:space:]]*DLL Name: //p')
echo "ok   imports only system DLLs: $(i686-w64-mingw32-objdump -p "$exe32" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '\n' ' ')"

# Resources: the same as the 64-bit program's, but for the manifest (type 24), checked below.
resources() {
  "$1" -i "$2" -O rc | awk '/^\/\* Type: / { skip = ($0 ~ /Type: 24|manifest/) } !skip'
}
dump32=$(resources i686-w64-mingw32-windres "$exe32")
dump64=$(resources x86_64-w64-mingw32-windres "$exe64")
for type in dialog stringtable 'group icon' version; do
  grep -q "Type: $type" <<<"$dump32" || fail "it has no $type resource"
done
[[ "$dump32" == "$dump64" ]] || fail "its resources differ from the 64-bit program's"
echo "ok   the same dialogs, strings, icon and version resource as the 64-bit program"

# The manifest: its own identity names x86 (the common controls it depends on are "*"), and it
# asks to run as the invoker.
manifest=$(strings -n 6 "$exe32" | sed -n '/<assembly/,/<\/assembly>/p')
identity=$(grep -o 'name="Quenzo.Console"[^>]*processorArchitecture="[^"]*"' <<<"$manifest" | grep -o 'processorArchitecture="[^"]*"')
[[ $identity == 'processorArchitecture="x86"' ]] || fail "the manifest's identity names $identity"
grep -q 'requestedExecutionLevel level="asInvoker"' <<<"$manifest" || fail "the manifest does not ask asInvoker"
grep -q 'requestedExecutionLevel level="asInvoker"' < <(strings -n 6 "$exe64") || fail "the 64-bit manifest does not ask asInvoker"
echo "ok   manifest: $identity, asInvoker (and asInvoker in the 64-bit program)"
# The portable zip: the program and the same documents as the 64-bit zip.
(cd build/windows32-release && cpack -G ZIP >/dev/null)
zip32=$(ls build/windows32-release/quenzo-*-win32.zip)
listing=$(unzip -Z1 "$zip32")
for file in Quenzo.exe LICENSE.txt NOTICES.txt; do
  grep -qx "$file" <<<"$listing" || fail "$zip32 lacks $file"
done
echo "ok   $zip32: $(wc -l <<<"$listing") entries, the program among them"

# The whole tree, tests included, compiles for 32-bit Windows with warnings as errors.
cmake --preset windows32 >/dev/null
cmake --build --preset windows32 -j "$(nproc)"
echo "ok   the whole tree, tests included, builds for 32-bit Windows"
echo "the 32-bit program passed its checks as a file"
