#!/bin/sh
# at_dpi.sh DPI WINE_RUN PROGRAM [ARGS...]: runs a Windows test program under
# Wine with the display at DPI dots per inch. The resolution is a setting of
# the Wine prefix, so the program gets a prefix of its own beside the build
# tree's (made once from it with hard links, its registry copied), and the
# build tree's prefix stays as every other test expects it.
set -e
dpi=$1 run=$2
shift 2
base=$(sed -n 's/^export WINEPREFIX="\(.*\)"$/\1/p' "$run")
prefix="$base-dpi$dpi"
"$run" cmd.exe /c exit >/dev/null 2>&1 || true  # the build tree's prefix exists
(
  flock 9
  if [ ! -f "$prefix/system.reg" ]; then
    rm -rf "$prefix"
    cp -al "$base" "$prefix"
    for f in system.reg user.reg userdef.reg .update-timestamp; do
      rm -f "$prefix/$f"
      cp "$base/$f" "$prefix/$f"
    done
    export WINEPREFIX="$prefix" WINEDEBUG=-all
    wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wine reg add "HKLM\\System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts" \
      /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wineserver -w
  fi
) 9>"$prefix.lock"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
status=0
wine "$@" || status=$?
wineserver -k 2>/dev/null || true
exit $status
