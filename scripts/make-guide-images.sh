#!/bin/sh
# Renews the pictures of the graphics windows for the user guide: the main
# window with both input windows and three graphics windows on the bridge
# example, and the page "Grafik drucken" prints of them, under a virtual X
# display with the openbox window manager.
#
#   scripts/make-guide-images.sh [OUTPUT_FOLDER]     (default docs/images)
#
# Needs a built tree (BUILD, default build), xvfb-run, openbox and pdftoppm
# (Debian: xvfb, openbox, poppler-utils).
set -e
cd "$(dirname "$0")/.."
out=${1:-docs/images}
build=${BUILD:-build}
program=$(find "$build" -name test_ui -type f -perm -u+x | head -n 1)
if [ -z "$program" ]; then
    echo "make-guide-images: $build has no test_ui; build first (make build)" >&2
    exit 1
fi
mkdir -p "$out"
out=$(cd "$out" && pwd)
QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS=disabled: BALKOR_UI_SCREENSHOTS="$out" \
    xvfb-run -a -s "-screen 0 1400x1000x24" scripts/with-window-manager.sh \
    "$program" GraphScreenshotTest
pdftoppm -r 100 -singlefile -png "$out/grafik-druckseite.pdf" "$out/grafik-druckseite"
rm -f "$out/grafik-druckseite.pdf"
echo "make-guide-images: $out/grafik-hauptfenster.png $out/grafik-druckseite.png"
