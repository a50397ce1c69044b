#!/usr/bin/env bash
# Renders the real settings dialog of the 64-bit DLL under wine64 and Xvfb into
# docs/settings-dialog.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tools/install-deps.sh render
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target gen_tunelore dialog_snapshot >/dev/null
out=$(mktemp -d)
# A prefix of its own, where Wine draws window frames itself: Xvfb has no window manager.
export TUNELORE_WINEPREFIX=${TMPDIR:-/tmp}/tunelore-render-prefix
tools/wine-run.sh reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null
# The caption's close box is a Marlett glyph. Debian's fonts-wine has the font in Wine's data
# folder, which this Wine does not read fonts from; the prefix's Fonts folder it does.
cp /usr/share/wine/fonts/marlett.ttf "$TUNELORE_WINEPREFIX/drive_c/windows/Fonts/"
tools/wine-run.sh build/win64/tools/dialog_snapshot/dialog_snapshot.exe \
  "Z:$(pwd)/build/win64/gen_tunelore.dll" "Z:$out/dialog.bmp"
mkdir -p docs
convert "$out/dialog.bmp" docs/settings-dialog.png
rm -rf "$out"
echo "wrote docs/settings-dialog.png"
