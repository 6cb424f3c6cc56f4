# Sourced by run.sh and test.sh: installs what is missing (as root, with apt)
# and defines helpers for building and for Wine with a private X display.
# Quick when everything is present.

ZUB_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ZUB_JOBS=${ZUB_JOBS:-$(nproc 2>/dev/null || echo 2)}

zub_log() { printf '== %s\n' "$*" >&2; }

zub_missing_packages() {
  local want=(cmake g++ make libgtest-dev libbenchmark-dev
              g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
              wine wine64 wine32:i386 xvfb xauth imagemagick xdotool
              clang libportsmf-dev util-linux
              planetblupi-music-midi openttd-openmsx mtools dosfstools
              pkg-config libasound2-dev libfluidsynth-dev fluidsynth timgm6mb-soundfont sox nsis)
  # libFuzzer comes with the runtime package of the clang that is installed.
  local rt
  rt=$(zub_clang_runtime_package)
  [ -n "$rt" ] && want+=("$rt")
  local missing=() p
  for p in "${want[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  printf '%s\n' "${missing[@]}"
}

# The Debian package of the sanitizer and fuzzer runtime for the installed
# clang ("libclang-rt-14-dev" for clang 14); nothing while clang is missing.
zub_clang_runtime_package() {
  command -v clang >/dev/null 2>&1 || return 0
  local major
  major=$(clang --version 2>/dev/null | sed -n 's/.*clang version \([0-9][0-9]*\).*/\1/p' | head -1)
  [ -n "$major" ] && echo "libclang-rt-$major-dev"
}

zub_apt_install() {
  local sudo=
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  # shellcheck disable=SC2086
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}

zub_install() {
  local missing
  missing=$(zub_missing_packages)
  [ -z "$missing" ] && return 0
  zub_log "installing: $(echo $missing)"
  # shellcheck disable=SC2086
  zub_apt_install $missing || return 1
  # On a fresh machine clang arrives only now, and with it the name of its
  # runtime package.
  missing=$(zub_missing_packages)
  [ -z "$missing" ] && return 0
  zub_log "installing: $(echo $missing)"
  # shellcheck disable=SC2086
  zub_apt_install $missing
}

# zub_configure NAME [cmake args...]: configures build/NAME. Run every time:
# it is quick when nothing changed, and a changed option takes effect.
zub_configure() {
  local name=$1; shift
  cmake -S "$ZUB_ROOT" -B "$ZUB_ROOT/build/$name" "$@" >/dev/null
}

zub_build() {
  local name=$1
  cmake --build "$ZUB_ROOT/build/$name" -j "$ZUB_JOBS"
}

zub_build_native() {
  zub_configure native -DCMAKE_BUILD_TYPE=RelWithDebInfo && zub_build native
}

zub_build_win32() {
  zub_configure win32 -DCMAKE_TOOLCHAIN_FILE="$ZUB_ROOT/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    && zub_build win32
}

zub_build_fuzz() {
  zub_configure fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZUB_FUZZ=ON -DZUB_TESTS=OFF -DZUB_BENCH=OFF && zub_build fuzz
}

# Wine in the win32 build tree's own prefix; no Mono or Gecko prompts.
zub_wine_env() {
  export WINEPREFIX="$ZUB_ROOT/build/win32/wineprefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d;winemenubuilder.exe=d"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    zub_log "creating the Wine prefix"
    wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
}

ZUB_XVFB_PID=
# Starts a private Xvfb on a free display number and exports DISPLAY.
zub_start_xvfb() {
  local n
  for n in $(seq 90 199); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      ZUB_XVFB_PID=$!
      local i
      for i in $(seq 1 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.1
      done
      if kill -0 "$ZUB_XVFB_PID" 2>/dev/null; then
        export DISPLAY=":$n"
        return 0
      fi
    fi
  done
  zub_log "no free X display number"
  return 1
}

zub_stop_xvfb() {
  if [ -n "$ZUB_XVFB_PID" ]; then
    kill "$ZUB_XVFB_PID" 2>/dev/null
    wait "$ZUB_XVFB_PID" 2>/dev/null
    ZUB_XVFB_PID=
  fi
}

# True when a client of the ALSA sequencer other than the kernel's own takes
# MIDI from others (a synthesizer, or an instrument on USB).
zub_seq_has_instrument() {
  [ -r /proc/asound/seq/clients ] || return 1
  awk '/^Client/ { own = ($0 ~ /"(System|Midi Through)"/) }
       /^  Port/ && !own && $NF ~ /^\(.W/ { found = 1 }
       END { exit !found }' /proc/asound/seq/clients
}

ZUB_SYNTH_PID=
# Starts FluidSynth as a sequencer client with the General MIDI sound font,
# its input joined to the ports already there (so "Midi Through", Wine's
# first MIDI device, reaches it too). Its shell reads a pipe that this
# script holds open; zub_stop_synth closes it.
zub_start_synth() {
  local font=/usr/share/sounds/sf2/default-GM.sf2 driver=alsa
  if [ -n "${PULSE_SERVER:-}" ] || [ -S "${XDG_RUNTIME_DIR:-/run/user/$(id -u)}/pulse/native" ]; then
    driver=pulseaudio
  fi
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  fluidsynth -a "$driver" -m alsa_seq -o midi.autoconnect=1 "$font" <"$fifo" >"$ZUB_ROOT/build/fluidsynth.log" 2>&1 &
  ZUB_SYNTH_PID=$!
  exec 7>"$fifo"
  rm -f "$fifo"
  local i
  for i in $(seq 1 50); do
    grep -q '"FLUID Synth' /proc/asound/seq/clients 2>/dev/null && break
    kill -0 "$ZUB_SYNTH_PID" 2>/dev/null || break
    sleep 0.1
  done
  if grep -q '"FLUID Synth' /proc/asound/seq/clients 2>/dev/null; then
    zub_log "MIDI output: FluidSynth started ($driver audio, $font); it stops with the player"
  else
    zub_log "FluidSynth did not start (see build/fluidsynth.log); choose a device under Play Thru"
  fi
}

zub_stop_synth() {
  [ -n "$ZUB_SYNTH_PID" ] || return 0
  exec 7>&-
  local i
  for i in $(seq 1 20); do
    kill -0 "$ZUB_SYNTH_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill "$ZUB_SYNTH_PID" 2>/dev/null
  wait "$ZUB_SYNTH_PID" 2>/dev/null
  ZUB_SYNTH_PID=
}
