# Shared by the scripts in tools/: the project root, package installation and the Wine environment.
# Source it; it defines functions and sets nothing up by itself.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD="$ROOT/build"

# Where the importer finds the Documents folder: the value "Personal" of this key (the scripts'
# copy of modMain::kShellFoldersKey).
SHELL_FOLDERS_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'

say() { printf '\n== %s\n' "$*"; }
die() { printf 'error: %s\n' "$*" >&2; exit 1; }

# Installs the named Debian packages that are not installed yet (as root, or through sudo).
ensure_packages() {
  local missing=() pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  say "installing Debian packages: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# What the builds and their tests need; the native benchmark (KCI_BENCHMARKS) needs Google Benchmark
# on top.
BUILD_PACKAGES=(cmake ninja-build g++ make googletest libgtest-dev libgmock-dev nlohmann-json3-dev
                g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev librsvg2-bin icoutils locales)
BENCHMARK_PACKAGES=(libbenchmark-dev)
WINE_PACKAGES=(wine wine64 xvfb xauth x11-utils)

# The German and French locales that the tests (and a demo under LC_ALL) run under, made with
# localedef from the sources in Debian's locales package into the system's locale archive, as
# locale-gen does (as root, or through sudo), when they are not there yet. Sets LOCALES_MADE when
# it made one.
#
# A running program's C library reads the locale archive (or finds none) once, when it first
# loads a locale other than C (bash: at its start, under LANG=C.UTF-8 say), and never again, so it
# does not see what localedef writes afterwards: such a shell cannot switch to a locale it made
# (bash warns "setlocale: LC_ALL: cannot change locale" on each assignment to LC_ALL), although
# every program started from then on can. A script that sets LC_ALL in its own shell starts afresh
# once this made a locale.
LOCALES_MADE=""
ensure_locales() {
  local locale sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  for locale in de_DE fr_FR; do
    locale -a 2>/dev/null | grep -qx "$locale.utf8" && continue
    say "making the locale $locale.UTF-8"
    "${sudo[@]}" localedef -i "$locale" -f UTF-8 "$locale.UTF-8" || die "localedef could not make $locale.UTF-8"
    locale -a 2>/dev/null | grep -qx "$locale.utf8" || die "localedef made no locale $locale.UTF-8"
    LOCALES_MADE=yes
  done
}

# Configures the native build of the portable core and its tests in build/native (which also
# writes its compile_commands.json).
configure_native() {
  cmake -S "$ROOT" -B "$BUILD/native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}

# Native build of the portable core and its tests.
build_native() {
  configure_native "$@"
  cmake --build "$BUILD/native"
}

# Configures a Release cross build of the Windows programs in the folder $1.
configure_windows() {
  cmake -S "$ROOT" -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
}

# Cross build of the Windows programs; installs them into dist/windows/.
build_windows() {
  local dir="$BUILD/windows"
  configure_windows "$dir"
  cmake --build "$dir"
  cmake --install "$dir" --prefix "$ROOT/dist" >/dev/null
}

# A Wine prefix of the project's own in the build tree (never ~/.wine): build/wineprefix, or the
# folder $1, created when it does not exist; a display (Xvfb when none is set) and a wineserver kept
# up between runs. wine_stop undoes what wine_start started.
WINE_XVFB_PID=""
wine_start() {
  # winemenubuilder is off: it would write menu entries and file associations into the user's home.
  export WINEPREFIX="${1:-$BUILD/wineprefix}" WINEARCH=win64 WINEDEBUG=-all \
    WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
  if [ -z "${DISPLAY:-}" ]; then
    local n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    WINE_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  fi
  # A server left running by an aborted earlier run is bound to a display that may be gone.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    say "creating the Wine prefix $WINEPREFIX (once)"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  # Keep one server up for all runs (each run then starts in about a second); it runs in the
  # foreground when it is the first, so detach it. Then start the prefix's background services
  # with no terminal or pipe of ours: whatever they inherit they hold open for as long as they run.
  (wineserver -p </dev/null >/dev/null 2>&1 &)
  wineboot </dev/null >/dev/null 2>&1 || true
  # Wine links the user's shell folders (Documents, Desktop, ...) to the home folder. The prefix
  # keeps folders of its own, so that nothing the tests or the demo put into Documents lands there.
  local folder
  for folder in "$WINEPREFIX"/drive_c/users/*/*; do
    if [ -L "$folder" ]; then
      rm -f "$folder"
      mkdir -p "$folder"
    fi
  done
  # Xvfb has no window manager, and Wine waits 2 s for one whenever it hides a managed window
  # (every message box, every closed window): on our own display, Wine manages the windows itself.
  # On a real desktop the window manager does.
  if [ -n "$WINE_XVFB_PID" ]; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null || true
  else
    wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 </dev/null || true
  fi
}

wine_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  if [ -n "$WINE_XVFB_PID" ]; then
    kill "$WINE_XVFB_PID" 2>/dev/null || true
    wait "$WINE_XVFB_PID" 2>/dev/null || true
    WINE_XVFB_PID=""
  fi
}

# Runs a Windows program under Wine, filtering Debian's note about the 32-bit loader.
wine_run() {
  wine "$@" 2> >(grep -v -e 'wine32 is missing' -e 'multiarch needs' -e 'dpkg --add-architecture' \
                       -e 'apt-get install wine32' -e '^execute ' >&2)
}
