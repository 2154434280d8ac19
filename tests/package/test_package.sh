#!/usr/bin/env bash
# The release test (ctest "package"): scripts/package makes the zip and the installer twice, the
# second time from a fresh build folder, and the two must be byte-identical; the zip must hold
# exactly the 32-bit programs and their README; the installer is then installed silently into a
# fresh Wine prefix, checked on disk and in the registry, its program started and closed,
# installed again with the weekly clean chosen, and uninstalled silently, after which nothing of
# Varnox may be left, the scheduled task included.
#   usage: test_package.sh BUILD_DIR START_CLOSE_EXE
set -euo pipefail
build=$(realpath "$1")
start_close=$2
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
source "$ROOT/scripts/common.sh"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

work=$build/package-test
rm -rf "$work"
mkdir -p "$work"
log=$work/wine.log
say() { echo "package-test: $*"; }
fail() {
  echo "package-test: FAIL: $*"
  exit 1
}

say "making the release zip and installer twice, the second time in a fresh build folder"
mapfile -t first < <(bash "$ROOT/scripts/package")
mapfile -t again < <(VARNOX_PACKAGE_BUILD="$work/repro-build" VARNOX_DIST="$work/repro-dist" \
  bash "$ROOT/scripts/package")
[ ${#first[@]} -eq 2 ] && [ ${#again[@]} -eq 2 ] || fail "scripts/package did not name two files"
for i in 0 1; do
  sha256sum "${first[i]}" "${again[i]}" | sed "s|$ROOT/||"
  cmp -s "${first[i]}" "${again[i]}" || fail "$(basename "${first[i]}") differs between two builds"
done
{ read -r version; read -r version4; } <"$ROOT/build/i686-product/varnox-version.txt"
[ "$(basename "${first[0]}")" = "Varnox-$version-win32.zip" ] || fail "zip name ${first[0]}"
[ "$(basename "${first[1]}")" = "Varnox-$version-setup.exe" ] || fail "installer name ${first[1]}"

say "checking the zip's entries and both files' version"
python3 "$ROOT/tests/package/check_zip.py" "${first[0]}" "${first[1]}" \
  "$ROOT/build/i686-product/Varnox.exe" "$ROOT/build/i686-product/varnox-cli.exe" \
  "$version" "$version4" || fail "zip or version check"

# The shipped installer is 32-bit. Where this host cannot run 32-bit code, the same installer
# script built for 64-bit Windows from the 64-bit program is what can be installed here.
installer=${first[1]}
if [ "$VARNOX_ARCH" != i686 ]; then
  say "this host runs no 32-bit code (no IA-32 emulation in the kernel), so 32-bit Wine cannot"
  say "start the 32-bit installer: installing the same installer script built for 64-bit instead"
  mapfile -t win64 < <(VARNOX_PACKAGE_ARCH=x86_64 VARNOX_PACKAGE_BUILD="$build" \
    VARNOX_DIST="$work/dist64" bash "$ROOT/scripts/package")
  installer=${win64[1]}
fi

export WINEPREFIX=$work/prefix
# No Linux menu entries or desktop files for the shortcut the installer makes.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
trap stop_wine EXIT
start_wine >>"$log" 2>&1 </dev/null
drive=$WINEPREFIX/drive_c
(cd "$drive" && find . | sort) >"$work/files-before.txt"

say "installing $(basename "$installer") silently into a fresh prefix"
"$WINE" "$installer" /S >>"$log" 2>&1 </dev/null || fail "the installer exited with $?"
app="$drive/Program Files/Varnox"
[ "$(ls "$app" | LC_ALL=C sort | tr '\n' ' ')" = "Uninstall.exe Varnox.exe varnox-cli.exe " ] ||
  fail "installed: $(ls "$app")"
# Wine's schtasks takes a task definition and keeps it as a file named after the task (its
# /Query prints nothing, so the file is what can be checked here).
task="$drive/windows/system32/tasks/Varnox weekly clean"
[ -e "$task" ] && fail "the weekly clean was scheduled though it was not chosen"
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Varnox.lnk"
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
grep -qa 'Program Files\\Varnox\\Varnox.exe' "$shortcut" || fail "the shortcut does not name Varnox.exe"

key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnox'
"$WINE" reg query "$key" </dev/null 2>>"$log" | tr -d '\r' >"$work/uninstall-key.txt" ||
  fail "no uninstall entry in the registry"
value() { sed -n "s/^ *$1 *REG_[A-Z_]* *//p" "$work/uninstall-key.txt"; }
where='C:\Program Files\Varnox'
for check in "DisplayName=Varnox" "DisplayVersion=$version" "Publisher=Varnox" \
  "DisplayIcon=$where\\Varnox.exe,0" "InstallLocation=$where" \
  "UninstallString=\"$where\\Uninstall.exe\"" "QuietUninstallString=\"$where\\Uninstall.exe\" /S"; do
  [ "$(value "${check%%=*}")" = "${check#*=}" ] || fail "${check%%=*} is '$(value "${check%%=*}")'"
done
size_kb=$(($(value EstimatedSize)))
files_kb=$(($(cat "$app"/* | wc -c) / 1024))
[ "$size_kb" -ge "$files_kb" ] && [ "$size_kb" -le $((files_kb + 8)) ] ||
  fail "EstimatedSize $size_kb KB for $files_kb KB of files"
say "installed: program, shortcut and uninstall entry (DisplayVersion $version, $size_kb KB)"

say "starting the installed program and closing its window"
"$WINE" "$start_close" "$where\\Varnox.exe" </dev/null 2>>"$log" | tr -d '\r' ||
  fail "starting and closing the installed program"

say "installing again with the weekly clean chosen (/WEEKLYCLEAN, the silent form of its box)"
"$WINE" "$installer" /S /WEEKLYCLEAN >>"$log" 2>&1 </dev/null || fail "the installer exited with $?"
[ -f "$task" ] || fail "no scheduled task for the weekly clean"
python3 -c 'import sys; d = open(sys.argv[1], "rb").read()
sys.stdout.write(d.decode("utf-16") if d[:2] in (b"\xff\xfe", b"\xfe\xff") else d.decode("utf-8"))' \
  "$task" >"$work/task.xml"
# Wine's task scheduler keeps a task's description and settings but drops its triggers and the
# command of its action (they read back as <Triggers/> and <Exec/>), so the weekly trigger and
# the command line cannot be seen here; that the definition the installer wrote was taken is.
grep -qF '<Description>Varnox cleans the kinds saved in its window.</Description>' "$work/task.xml" &&
  grep -qF '<MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>' "$work/task.xml" ||
  fail "the task is not the installer's weekly clean: $(cat "$work/task.xml")"
say "scheduled: the task 'Varnox weekly clean' (Wine keeps no trigger or command to check)"

say "uninstalling silently with the entry's QuietUninstallString"
quiet=$(value QuietUninstallString)
uninstaller=${quiet#\"}
uninstaller=${uninstaller%%\"*}
"$WINE" "$uninstaller" ${quiet##*\" } >>"$log" 2>&1 </dev/null || fail "the uninstaller exited with $?"
# The uninstaller runs on from a copy of itself in the temporary folder; wait for it to finish.
for _ in $(seq 120); do
  [ -e "$app" ] || [ -e "$shortcut" ] || break
  sleep 0.5
done
"$WINE" reg query "$key" </dev/null >/dev/null 2>&1 && fail "the uninstall entry is still there"
[ -e "$task" ] && fail "the scheduled task is still there"
# That copy cannot delete itself; like every NSIS uninstaller it leaves its removal to the next
# restart of Windows (PendingFileRenameOperations), which wineboot -r carries out.
say "restarting Windows, which removes the uninstaller's temporary copy"
"$WINE" wineboot -r >>"$log" 2>&1 </dev/null || fail "wineboot -r exited with $?"
# Stopping the prefix's wineserver writes its registry to the .reg files read below.
stop_wine
wineserver -w 2>/dev/null || true

(cd "$drive" && find . | sort) >"$work/files-after.txt"
left=$(comm -13 "$work/files-before.txt" "$work/files-after.txt")
[ -z "$left" ] || fail "left on disk after uninstalling: $left"
if grep -il varnox "$WINEPREFIX"/*.reg; then fail "Varnox is still named in the registry"; fi
say "uninstalled: nothing of Varnox left on disk or in the registry"
