#!/bin/sh
# Renews the pictures of the user guide (README.md) under a virtual X display
# with the openbox window manager: the main window with both input windows and
# three graphics windows on the bridge example, the page "Grafik drucken"
# prints of them, a failed check with its cell and message, the settings
# tree with the value dialog, and the example project's envelope beside the
# window "Kombinationen".
#
#   scripts/make-guide-images.sh [OUTPUT_FOLDER]     (default docs/images)
#
# Needs a built tree (BUILD, default build), xvfb-run, openbox and pdftoppm
# (Debian: xvfb, openbox, poppler-utils); with ImageMagick's convert the black
# screen around the windows is cut away.
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
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Runs a test class of test_ui on a virtual screen of size $1 under openbox.
on_screen() {
    size=$1
    shift
    QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS=disabled: \
        xvfb-run -a -s "-screen 0 ${size}x24" scripts/with-window-manager.sh "$program" "$@"
}

# Copies a screenshot, without the black screen around the windows.
keep() {
    if command -v convert >/dev/null 2>&1; then
        convert "$1" -bordercolor black -border 1 -trim +repage "$2"
    else
        cp "$1" "$2"
    fi
}

BALKOR_UI_SCREENSHOTS="$out" on_screen 1400x1000 GraphScreenshotTest
pdftoppm -r 100 -singlefile -png "$out/grafik-druckseite.pdf" "$out/grafik-druckseite"
rm -f "$out/grafik-druckseite.pdf"

BALKOR_UI_SCREENSHOTS="$scratch" on_screen 1280x900 InputScreenshotTest
keep "$scratch/eingabe-pruefung-fehler.png" "$out/eingabe-pruefung-fehler.png"

BALKOR_SCREENSHOT_DIR="$scratch" on_screen 1280x900 SettingsDialogsScreenTest
keep "$scratch/settings-value.png" "$out/einstellung-wert.png"

BALKOR_UI_SCREENSHOTS="$scratch" on_screen 1280x900 ProjectWindowsTest exampleProjectEnvelopeOnScreen
keep "$scratch/projekt-umhuellende.png" "$out/projekt-umhuellende.png"

echo "make-guide-images: pictures in $out"
