#!/usr/bin/env bash
# Builds the player and starts it under Wine, optionally opening FILE.
# Usage: scripts/run.sh [FILE] [player switches...]
set -euo pipefail
source "$(dirname "$0")/setup.sh"

zub_install
zub_build_win32 >/dev/null
zub_wine_env

# The display comes first: the first Wine process of a session decides
# whether Wine has one.
if [ -z "${DISPLAY:-}" ]; then
  zub_start_xvfb
  zub_log "no display: running on a private Xvfb at $DISPLAY (close with Ctrl+C)"
  trap 'wineserver -k 2>/dev/null; zub_stop_xvfb' EXIT
  trap 'exit 130' INT TERM
fi

args=()
# Without a MIDI output device (no ALSA sequencer, as on a server) the
# player plays through its software stream into a capture file.
if [ ! -e /dev/snd/seq ]; then
  capture="$ZUB_ROOT/build/run-capture.mid"
  args+=(/capture "$(winepath -w "$capture" 2>/dev/null)")
  zub_log "no MIDI device: playing into $capture"
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
