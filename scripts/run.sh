#!/usr/bin/env bash
# Builds the player and starts it under Wine, optionally opening FILE.
# Usage: scripts/run.sh [FILE] [player switches...]
set -euo pipefail
source "$(dirname "$0")/setup.sh"

zub_install
zub_build_win32 >/dev/null
zub_wine_env

cleanup() {
  zub_stop_synth
  if [ -n "$ZUB_XVFB_PID" ]; then
    wineserver -k 2>/dev/null
    zub_stop_xvfb
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The display comes first: the first Wine process of a session decides
# whether Wine has one.
if [ -z "${DISPLAY:-}" ]; then
  zub_start_xvfb
  zub_log "no display: running on a private Xvfb at $DISPLAY (close with Ctrl+C)"
fi

args=()
if [ -e /dev/snd/seq ]; then
  # Wine's MIDI devices are the ALSA sequencer's ports. Without a synthesizer
  # or instrument among them, FluidSynth plays for this run.
  if zub_seq_has_instrument; then
    zub_log "MIDI output: the ALSA sequencer's instruments (choose one under Play Thru)"
  else
    zub_start_synth
  fi
else
  # No MIDI device at all (a container, a server): the player plays through
  # its software stream into a capture file.
  capture="$ZUB_ROOT/build/run-capture.mid"
  args+=(/capture "$(winepath -w "$capture" 2>/dev/null)")
  zub_log "no ALSA sequencer (/dev/snd/seq): playing into $capture"
fi
if [ $# -gt 0 ]; then
  # A host path becomes a Wine path so the player can open it.
  if [ -e "$1" ]; then
    args+=("$(winepath -w "$(readlink -f "$1")" 2>/dev/null)")
    shift
  fi
  args+=("$@")
fi

cd "$ZUB_ROOT/build/win32/bin"
wine Zubodeck.exe "${args[@]}"
