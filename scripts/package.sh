#!/usr/bin/env bash
# Builds what goes to users, under build/win32/package/:
#   Zubodeck-Setup-VERSION.exe  the installer (Debian's nsis)
#   Zubodeck-VERSION.zip        the three files and a read-me, for people who do not install
# VERSION is the project's one version number, set in CMakeLists.txt.
set -euo pipefail
source "$(dirname "$0")/setup.sh"

zub_install
zub_configure win32 -DCMAKE_TOOLCHAIN_FILE="$ZUB_ROOT/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$ZUB_ROOT/build/win32" -j "$ZUB_JOBS" --target zub_package
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$ZUB_ROOT/build/win32/CMakeCache.txt")
for f in "Zubodeck-Setup-$version.exe" "Zubodeck-$version.zip"; do
  path="$ZUB_ROOT/build/win32/package/$f"
  [ -f "$path" ] || { zub_log "missing: $path"; exit 1; }
  echo "$path"
done
