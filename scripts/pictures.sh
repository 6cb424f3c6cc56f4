#!/usr/bin/env bash
# Regenerates the guide's pictures: docs/pictures/NAME.png, one per window.
# Builds the player, runs its layout test at 96 dots per inch on a private
# virtual display (each window there prints a picture of itself), and turns
# those pictures into small PNG files with ImageMagick. A window this player
# does not have yet is skipped with a message; run the script again once it
# has. Usage: scripts/pictures.sh
set -uo pipefail
source "$(dirname "$0")/setup.sh"

# The pictures the guide and the README show, by the names the test gives them.
pictures=(main_window playback_control volume_dialog batch_convert
          playlist_window build_playlist floppy_playlist)

zub_install || exit 1
zub_configure win32 -DCMAKE_TOOLCHAIN_FILE="$ZUB_ROOT/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  || exit 1
zub_log "building the player and its layout test"
cmake --build "$ZUB_ROOT/build/win32" --target Zubodeck zub_ui_probe layout_ui_test -j "$ZUB_JOBS" >/dev/null || exit 1

zub_wine_env
zub_start_xvfb
trap 'wineserver -k 2>/dev/null; zub_stop_xvfb' EXIT

bin="$ZUB_ROOT/build/win32/bin"
for name in "${pictures[@]}"; do
  rm -f "$bin/${name}_96.bmp"
done
zub_log "taking the pictures"
(cd "$bin" && wine layout_ui_test.exe --gtest_filter='LayoutUi.*' >"$ZUB_ROOT/build/pictures.log" 2>&1)
status=$?
[ "$status" -eq 0 ] || zub_log "the layout test failed (see build/pictures.log); pictures taken anyway"

out="$ZUB_ROOT/docs/pictures"
mkdir -p "$out"
made=0
for name in "${pictures[@]}"; do
  bmp="$bin/${name}_96.bmp"
  if [ ! -f "$bmp" ]; then
    zub_log "skipped $name: this player does not show that window yet"
    continue
  fi
  # A palette of 64 colours keeps each picture a few tens of kilobytes.
  convert "$bmp" -strip -colors 64 "PNG8:$out/$name.png" && made=$((made + 1))
done
zub_log "$made pictures in docs/pictures"
exit "$status"
