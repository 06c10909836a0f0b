#!/usr/bin/env bash
# The Debian package as an administrator and a user meet it:
#   check-package.sh BUILD WORK VERSION MIME_PROBE
# builds balkor_VERSION_ARCH.deb from BUILD with CPack into WORK, reads its
# control data and file list, unpacks it into a scratch root, runs the
# installed balkor-batch there (also on the user's settings file), validates
# the desktop entry, asks the shared-mime-info database of the scratch root
# for the types of the sample files and renders the manual pages.
set -euo pipefail

build=$1
work=$2
version=$3
mime_probe=$4

failures=0
fail() {
  echo "FEHLER: $*" >&2
  failures=$((failures + 1))
}
# expect_match TEXT REGEX WHAT
expect_match() {
  grep -Eq -- "$2" <<<"$1" || fail "$3: '$2' fehlt"
}

rm -rf "$work"
mkdir -p "$work"
arch=$(dpkg --print-architecture)
deb="$work/balkor_${version}_${arch}.deb"

echo "== cpack"
(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1) || {
  cat "$work/cpack.log" >&2
  fail "cpack"
  exit 1
}
[ -f "$deb" ] || {
  ls "$work" >&2
  fail "$deb fehlt"
  exit 1
}

echo "== dpkg-deb --info"
info=$(dpkg-deb --info "$deb")
echo "$info"
expect_match "$info" '^ Package: balkor$' "Paketname"
expect_match "$info" "^ Version: ${version//./\\.}\$" "Version"
expect_match "$info" "^ Architecture: ${arch}\$" "Architektur"
expect_match "$info" '^ Section: science$' "Bereich"
expect_match "$info" '^ Maintainer: .+<.+@.+>$' "Betreuer"
expect_match "$info" '^ Description: .+' "Beschreibung"
depends=$(sed -n 's/^ Depends: //p' <<<"$info")
# Named by hand: what is loaded at run time; computed: what is linked.
for package in fonts-dejavu-core qt6-translations-l10n libqt6svg6 libopenblas0 libcholmod3 \
  libc6 libstdc\\+\\+6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6; do
  expect_match "$depends" "(^|, )${package}( \\(|,|\$)" "Depends"
done

echo "== dpkg-deb --contents"
contents=$(dpkg-deb --contents "$deb")
for path in \
  usr/bin/balkor usr/bin/balkor-batch usr/bin/textor \
  usr/share/applications/balkor.desktop \
  usr/share/icons/hicolor/scalable/apps/balkor.svg \
  usr/share/mime/packages/balkor.xml \
  usr/share/man/man1/balkor.1.gz usr/share/man/man1/balkor-batch.1.gz usr/share/man/man1/textor.1.gz \
  usr/share/balkor/help/index.html usr/share/balkor/help/hauptfenster.html \
  usr/share/balkor/examples/bruecke.bsy usr/share/balkor/examples/bruecke.bld \
  usr/share/balkor/examples/beispiel.bsy usr/share/balkor/examples/README.md; do
  expect_match "$contents" " \\./${path//./\\.}\$" "Inhalt"
done
# Only /usr, owned by root, programs executable by everyone.
outside=$(awk '{print $6}' <<<"$contents" | grep -Ev '^\./(usr(/.*)?)?$' || true)
[ -z "$outside" ] || fail "Dateien außerhalb von /usr: $outside"
owners=$(awk '{print $2}' <<<"$contents" | sort -u)
[ "$owners" = "root/root" ] || fail "Eigentümer: $owners"
for program in balkor balkor-batch textor; do
  expect_match "$contents" "^-rwxr-xr-x .* \\./usr/bin/${program}\$" "Rechte von $program"
done

echo "== dpkg-deb -x"
root="$work/root"
dpkg-deb -x "$deb" "$root"
examples="$root/usr/share/balkor/examples"
for program in balkor balkor-batch textor; do
  file "$root/usr/bin/$program" | grep -q 'not stripped' && fail "$program nicht gestrippt"
done

# The installed balkor-batch on the cantilever: tip deflection
# F L^3 / (3 E Iy) = -10 * 125 / (3 * 2.1e8 * 2e-4) = -9.921e-3, support
# reaction 10 (it acts against the load).
home="$work/home"
mkdir -p "$home"
results=$(HOME="$home" XDG_CONFIG_HOME= "$root/usr/bin/balkor-batch" --quiet \
  "$examples/beispiel.bsy" "$examples/beispiel.bld") || fail "balkor-batch: Rückgabewert $?"
expect_match "$results" '^Balkor - Ausdruck der Ergebnisse$' "Ergebnisprotokoll"
expect_match "$results" '^ +2 +-0\.009921 ' "Durchbiegung am Kragarmende"
expect_match "$results" '^ +1 +10\.00 ' "Auflagerkraft"
help=$("$root/usr/bin/balkor-batch" --help) || fail "balkor-batch --help"
expect_match "$help" '^Aufruf: balkor-batch ' "balkor-batch --help"

echo "== Einstellungen des installierten Programms"
# The drawing settings come from the user's configuration folder, even where
# the program's folder may be written (as root may): a file beside the
# installed program is not read, and none is written there.
beam_key='EinstellungGrafikeinstellungGeometrieStäbeFarbe'
mkdir -p "$home/.config/balkor"
printf '%s = %d\n' "$beam_key" $((0x563412)) >"$home/.config/balkor/balkor.dat"
printf '%s = %d\n' "$beam_key" $((0x00ff00)) >"$root/usr/bin/balkor.dat"
HOME="$home" XDG_CONFIG_HOME= "$root/usr/bin/balkor-batch" --quiet \
  "$examples/bruecke.bsy" "$examples/bruecke.bld" --svg "$work/geometrie.svg" ||
  fail "balkor-batch --svg"
svg=$(cat "$work/geometrie.svg" 2>/dev/null || true)
expect_match "$svg" 'stroke="#123456"' "Stabfarbe aus ~/.config/balkor/balkor.dat"
grep -q 'stroke="#00ff00"' <<<"$svg" && fail "Einstellungsdatei neben dem Programm gelesen"
rm -f "$root/usr/bin/balkor.dat"
# XDG_CONFIG_HOME takes the place of ~/.config.
mkdir -p "$work/xdg/balkor"
printf '%s = %d\n' "$beam_key" $((0x0000aa)) >"$work/xdg/balkor/balkor.dat"
HOME="$home" XDG_CONFIG_HOME="$work/xdg" "$root/usr/bin/balkor-batch" --quiet \
  "$examples/bruecke.bsy" --svg "$work/xdg.svg" || fail "balkor-batch --svg (XDG_CONFIG_HOME)"
grep -q 'stroke="#aa0000"' "$work/xdg.svg" || fail "Stabfarbe aus \$XDG_CONFIG_HOME/balkor/balkor.dat"

echo "== Desktop-Eintrag"
desktop="$root/usr/share/applications/balkor.desktop"
entry=$(cat "$desktop")
expect_match "$entry" '^Exec=balkor %F$' "Exec"
expect_match "$entry" '^Icon=balkor$' "Icon"
expect_match "$entry" '^Categories=(.*;)?Engineering;' "Categories"
expect_match "$entry" '^Categories=(.*;)?Science;' "Categories"
expect_match "$entry" '^MimeType=application/x-balkor-system;application/x-balkor-loadcase;application/x-balkor-project;$' "MimeType"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate"
fi

echo "== Start aus dem Desktop-Eintrag"
# The entry's command with the bridge example for %F, under a window manager
# on a virtual display; closed as the user closes it (the window manager's
# close request). The settings file goes to the user's folder and keeps
# what it held; nothing is written beside the installed program.
if command -v xvfb-run >/dev/null && command -v openbox >/dev/null && command -v wmctrl >/dev/null; then
  exec_line=$(sed -n 's/^Exec=//p' "$desktop")
  command=${exec_line/#balkor /$root/usr/bin/balkor }
  command=${command/\%F/$examples/bruecke.bsy $examples/bruecke.bld}
  anna="$work/anna"
  mkdir -p "$anna/.config/balkor"
  printf '%s = %d\n' "$beam_key" $((0x563412)) >"$anna/.config/balkor/balkor.dat"
  cat >"$work/session.sh" <<SESSION
#!/bin/sh
$command 2>"$work/balkor.err" &
program=\$!
i=0
until wmctrl -l | grep -q ' Balkor\$' || [ \$i -ge 100 ]; do sleep 0.1; i=\$((i + 1)); done
wmctrl -l >"$work/windows.txt"
wmctrl -c Balkor
i=0
while kill -0 \$program 2>/dev/null && [ \$i -lt 100 ]; do sleep 0.1; i=\$((i + 1)); done
if kill -0 \$program 2>/dev/null; then kill \$program; exit 1; fi
SESSION
  chmod +x "$work/session.sh"
  HOME="$anna" XDG_CONFIG_HOME= QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS=disabled: \
    xvfb-run -a -n $((200 + RANDOM % 500)) -s "-screen 0 1200x860x24" "$(dirname "$0")/../../scripts/with-window-manager.sh" \
    "$work/session.sh" || fail "balkor aus dem Desktop-Eintrag nicht gestartet oder nicht geschlossen"
  grep -q ' Balkor$' "$work/windows.txt" 2>/dev/null || fail "kein Fenster Balkor"
  grep -q "$beam_key = $((0x563412))" "$anna/.config/balkor/balkor.dat" ||
    fail "Einstellungsdatei in ~/.config/balkor nicht zurückgeschrieben"
  [ -e "$root/usr/bin/balkor.dat" ] && fail "Einstellungsdatei neben dem installierten Programm"
  grep -v 'XDG_RUNTIME_DIR\|Openbox' "$work/balkor.err" && fail "balkor meldet Fehler"
fi

echo "== Dateitypen"
if command -v update-mime-database >/dev/null; then
  update-mime-database "$root/usr/share/mime" >/dev/null 2>"$work/mime.log" ||
    fail "update-mime-database: $(cat "$work/mime.log")"
fi
# Without extension and with another one: recognised by the first line.
mkdir -p "$work/files"
cp "$examples/bruecke.bsy" "$work/files/system"
cp "$examples/bruecke.bld" "$work/files/lastfall.txt"
printf 'NODES\n0\n\nBEAMS\n0\n\n' >"$work/files/unix-lf"
printf '\xef\xbb\xbfNODELOAD\r\n0\r\n' >"$work/files/mit-bom"
printf 'NODESX\n' >"$work/files/anders"
types=$(XDG_DATA_DIRS="$root/usr/share:/usr/share" QT_QPA_PLATFORM=offscreen "$mime_probe" \
  "$examples/bruecke.bsy" "$examples/bruecke.bld" "$examples/bruecke.bpj" "$work/files/system" \
  "$work/files/lastfall.txt" "$work/files/unix-lf" "$work/files/mit-bom" "$work/files/anders")
echo "$types"
expect_match "$types" '/bruecke\.bsy	application/x-balkor-system	application/x-balkor-system$' "Typ .bsy"
expect_match "$types" '/bruecke\.bld	application/x-balkor-loadcase	application/x-balkor-loadcase$' "Typ .bld"
expect_match "$types" '/bruecke\.bpj	application/x-balkor-project	application/x-balkor-project$' "Typ .bpj"
expect_match "$types" '/system	application/x-balkor-system	' "Systemdatei ohne Endung"
expect_match "$types" '/lastfall\.txt	[^	]+	application/x-balkor-loadcase$' "Lastfall nach Inhalt"
expect_match "$types" '/unix-lf	application/x-balkor-system	' "Systemdatei mit LF"
expect_match "$types" '/mit-bom	application/x-balkor-loadcase	' "Lastfall mit Byte-Order-Mark"
grep -q '/anders	application/x-balkor' <<<"$types" && fail "fremde Datei als Balkor-Datei erkannt"

echo "== Handbuchseiten"
if command -v man >/dev/null; then
  for page in balkor balkor-batch textor; do
    gz="$root/usr/share/man/man1/$page.1.gz"
    text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$gz" 2>"$work/man-$page.err") ||
      fail "man $page"
    [ -s "$work/man-$page.err" ] && fail "man $page: $(cat "$work/man-$page.err")"
    expect_match "$text" 'BEZEICHNUNG' "man $page"
    expect_match "$text" "Balkor ${version//./\\.}" "Version in man $page"
  done
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures Fehler" >&2
  exit 1
fi
echo "Paket $deb in Ordnung"
