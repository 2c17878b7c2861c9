# Shared by the scripts in tools/: set-up of a fresh Debian 12 machine, the builds, and the
# virtual display with a throw-away Wine prefix for running the Windows programs.
# shellcheck shell=bash

LQ_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
LQ_BUILD="$LQ_ROOT/build"
LQ_NATIVE="$LQ_BUILD/native"
LQ_WINDOWS="$LQ_BUILD/windows"
LQ_JOBS=${LQ_JOBS:-$(nproc 2>/dev/null || echo 2)}

lq_say() { printf '[lindqvale] %s\n' "$*" >&2; }
lq_die() { printf '[lindqvale] error: %s\n' "$*" >&2; exit 1; }

# Debian packages the project needs. Only what is missing is installed, so a second run on
# the same machine installs nothing.
LQ_PACKAGES=(
  cmake make g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix wine wine64 fonts-wine xvfb x11-utils xdotool
  fonts-ipafont imagemagick locales libx11-dev
)

lq_missing_packages() {
  local p missing=()
  for p in "${LQ_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  printf '%s\n' "${missing[@]}"
}

lq_ensure_packages() {
  local missing
  mapfile -t missing < <(lq_missing_packages | sed '/^$/d')
  [ "${#missing[@]}" -eq 0 ] && return 0
  [ "$(id -u)" -eq 0 ] || lq_die "missing packages (${missing[*]}); run as root or install them"
  lq_say "installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq >/dev/null || lq_die "apt-get update failed"
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || lq_die "apt-get install failed"
}

# Wine takes its ANSI code page from the locale: ja_JP.UTF-8 gives code page 932.
lq_ensure_locale() {
  locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$' && return 0
  [ "$(id -u)" -eq 0 ] || lq_die "the ja_JP.UTF-8 locale is missing"
  lq_say "generating the ja_JP.UTF-8 locale"
  if ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    if grep -q '^# *ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
      sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
    else
      echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
    fi
  fi
  locale-gen >/dev/null || lq_die "locale-gen failed"
}

lq_ensure_machine() {
  lq_ensure_packages
  lq_ensure_locale
}

lq_configure_native() {
  [ -f "$LQ_NATIVE/CMakeCache.txt" ] && return 0
  cmake -S "$LQ_ROOT" -B "$LQ_NATIVE" -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$LQ_BUILD/native-configure.log" 2>&1 ||
    { cat "$LQ_BUILD/native-configure.log" >&2; lq_die "native configure failed"; }
}

lq_configure_windows() {
  [ -f "$LQ_WINDOWS/CMakeCache.txt" ] && return 0
  cmake -S "$LQ_ROOT" -B "$LQ_WINDOWS" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$LQ_ROOT/cmake/mingw-w64-x86_64.cmake" >"$LQ_BUILD/windows-configure.log" 2>&1 ||
    { cat "$LQ_BUILD/windows-configure.log" >&2; lq_die "cross configure failed"; }
}

# ---------------------------------------------------------------------------------------------
# Virtual display and Wine prefix

LQ_XVFB_PID=""
LQ_KEEPALIVE_PID=""
LQ_XDND_PID=""

lq_free_display() {
  local n
  for n in $(seq 91 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      echo "$n"
      return 0
    fi
  done
  return 1
}

# Starts Xvfb on a free display and exports DISPLAY.
lq_start_display() {
  local n i
  n=$(lq_free_display) || lq_die "no free X display number"
  Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  LQ_XVFB_PID=$!
  for i in $(seq 1 100); do
    if DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
      export DISPLAY=":$n"
      return 0
    fi
    kill -0 "$LQ_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  lq_die "Xvfb did not start on :$n"
}

# The registry settings every test prefix gets (written as UTF-16LE with a BOM for regedit).
lq_write_prefix_registry() {
  local out=$1
  {
    printf '\xff\xfe'
    iconv -f UTF-8 -t UTF-16LE <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="N"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"ＭＳ Ｐゴシック"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
"ＭＳ Ｐ明朝"="IPAPMincho"
"ＭＳ 明朝"="IPAMincho"
"MS PGothic"="IPAPGothic"
"MS Gothic"="IPAGothic"
"MS UI Gothic"="IPAPGothic"
"Meiryo"="IPAPGothic"
"メイリオ"="IPAPGothic"
"Yu Gothic UI"="IPAPGothic"
REG
  } >"$out"
}

# Makes a fresh prefix in $1 and exports WINEPREFIX and the quiet-Wine settings.
lq_make_prefix() {
  local prefix=$1
  rm -rf "$prefix"
  mkdir -p "$(dirname "$prefix")"
  export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
  wineboot -i >/dev/null 2>&1 || lq_die "wineboot failed"
  wineserver -w
  lq_write_prefix_registry "$prefix/lindqvale.reg"
  wine regedit /S "$prefix/lindqvale.reg" >/dev/null 2>&1 || lq_die "regedit failed"
  wineserver -w
}

# A small filesystem of its own, mapped as drive Q: in the prefix, that the tests of a full disk
# fill up (LQ_FULL_DISK). Only where a tmpfs can be mounted (as root); without it those tests
# are skipped.
LQ_FULL_DISK_MOUNT=""
lq_mount_full_disk() {
  local dir="$LQ_BUILD/full-disk"
  mkdir -p "$dir"
  if ! mountpoint -q "$dir" && ! mount -t tmpfs -o size=16m,mode=0777 lq-full-disk "$dir" 2>/dev/null; then
    lq_say "no small drive for the full-disk tests (mounting a tmpfs needs root): they are skipped"
    return 0
  fi
  LQ_FULL_DISK_MOUNT=$dir
  ln -sfn "$dir" "$WINEPREFIX/dosdevices/q:"
  export LQ_FULL_DISK='Q:\'
}

# Starts the persistent wineserver and one long-lived Wine process, so that services Wine
# starts with the first program do not hold the test runner's output open.
lq_start_wine() {
  local keepalive=$1
  wineserver -p
  wine "$keepalive" </dev/null >/dev/null 2>&1 &
  LQ_KEEPALIVE_PID=$!
  # Wait until the services run (whoever started them), so none inherits a caller's pipe.
  wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}

# Starts the X11 drop helper for the end-to-end tests (a Windows program under Wine cannot start
# a Linux one): it drops the files each test asks for in $LQ_XDND_DIR. Does nothing where the
# helper was not built.
lq_start_xdnd() {
  local helper="$LQ_NATIVE/tests/xdnd/lq_xdnd_drop"
  [ -x "$helper" ] || return 0
  export LQ_XDND_DIR="$LQ_BUILD/xdnd"
  rm -rf "$LQ_XDND_DIR"
  mkdir -p "$LQ_XDND_DIR"
  "$helper" --serve "$LQ_XDND_DIR" </dev/null >/dev/null 2>&1 &
  LQ_XDND_PID=$!
}

lq_stop_all() {
  if [ -n "$LQ_XDND_PID" ]; then
    kill "$LQ_XDND_PID" 2>/dev/null
    wait "$LQ_XDND_PID" 2>/dev/null
    LQ_XDND_PID=""
  fi
  if [ -n "$LQ_KEEPALIVE_PID" ]; then
    kill "$LQ_KEEPALIVE_PID" 2>/dev/null
    LQ_KEEPALIVE_PID=""
  fi
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
  fi
  if [ -n "$LQ_FULL_DISK_MOUNT" ]; then
    umount "$LQ_FULL_DISK_MOUNT" 2>/dev/null
    LQ_FULL_DISK_MOUNT=""
  fi
  if [ -n "$LQ_XVFB_PID" ]; then
    kill "$LQ_XVFB_PID" 2>/dev/null
    wait "$LQ_XVFB_PID" 2>/dev/null
    LQ_XVFB_PID=""
  fi
}
