# Shared by scripts/run, scripts/test and scripts/bench: picks the target, the Wine loader and
# the project's own Wine prefix. Source it; it sets VARNOX_ARCH, BUILD_DIR, WINE and WINEPREFIX.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The shipped program is 32-bit. Some hosts run 64-bit user code only (no IA-32 emulation in the
# kernel), so 32-bit Wine cannot start there; then we build and run the 64-bit Windows target,
# which is the same source.
pick_arch() {
  if [ -n "${VARNOX_ARCH:-}" ]; then return; fi
  if [ -x /usr/lib/wine/wineserver32 ] && timeout 10 /usr/lib/wine/wineserver32 --version >/dev/null 2>&1; then
    VARNOX_ARCH=i686
  else
    VARNOX_ARCH=x86_64
  fi
}
pick_arch
export VARNOX_ARCH

if [ "$VARNOX_ARCH" = i686 ]; then
  WINE=/usr/lib/wine/wine
else
  WINE=/usr/lib/wine/wine64
  export WINELOADER=$WINE
fi
BUILD_DIR=${BUILD_DIR:-$ROOT/build/$VARNOX_ARCH}
export WINEPREFIX=${WINEPREFIX:-$BUILD_DIR/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ "$VARNOX_ARCH" = x86_64 ]; then export WINEARCH=win64; else export WINEARCH=win32; fi

configure_and_build() {
  local tests=${1:-ON}
  if [ ! -f "$BUILD_DIR/build.ninja" ]; then
    cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw.cmake" -DVARNOX_ARCH="$VARNOX_ARCH" \
      -DCMAKE_CROSSCOMPILING_EMULATOR="$WINE" -DVARNOX_TESTS="$tests" >/dev/null
  fi
  cmake --build "$BUILD_DIR" "${@:2}"
}

# A persistent, booted wineserver: a cold one takes seconds per process, and Wine's service
# processes started from inside ctest otherwise keep ctest's output pipe open for ever.
start_wine() {
  mkdir -p "$WINEPREFIX"
  wineserver -p
  "$WINE" cmd /c exit </dev/null >/dev/null 2>&1 || true
  # On a virtual display there is no window manager, and Wine then waits 2 s for one each time
  # a top-level window is hidden or destroyed; unmanaged windows close at once.
  local key='HKCU\Software\Wine\X11 Driver'
  if [ -n "${VARNOX_VIRTUAL_DISPLAY:-}" ]; then
    "$WINE" reg add "$key" /v Managed /d N /f </dev/null >/dev/null 2>&1 || true
  else
    "$WINE" reg delete "$key" /v Managed /f </dev/null >/dev/null 2>&1 || true
  fi
}

stop_wine() {
  wineserver -k 2>/dev/null || true
}

# Windows need an X display; without one, re-run the calling script under a virtual one.
need_display() {
  if [ -z "${DISPLAY:-}" ]; then
    export VARNOX_VIRTUAL_DISPLAY=1
    # Large enough for the window at 200% (the end-to-end test runs it at 96, 144 and 192 DPI).
    exec xvfb-run -a -s "-screen 0 1920x1200x24" bash "$0" "$@"
  fi
}
