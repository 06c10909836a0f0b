#!/usr/bin/env bash
# Installs the package on a fresh Debian 12 as a user would and starts it:
#   fresh-debian.sh DEB [CHROOT]
# (root, with the Debian mirror reachable; not part of make test). Makes a
# minimal Debian 12 in CHROOT with debootstrap unless one is there, installs
# DEB with apt-get (which brings every dependency), runs the installed
# balkor-batch on the cantilever example, starts balkor from the command of
# its desktop entry under a virtual X display (Xvfb, installed for that in
# the chroot) and writes a screenshot of it to CHROOT/tmp/balkor.xwd.
set -euo pipefail

deb=$(realpath "$1")
root=${2:-/tmp/balkor-bookworm}

if [ ! -x "$root/usr/bin/apt-get" ]; then
  debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian
fi
mount -t proc proc "$root/proc"
trap 'umount "$root/proc"' EXIT
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }

cp "$deb" "$root/tmp/"
in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y "/tmp/$(basename "$deb")"
in_root dpkg -s balkor fonts-dejavu-core qt6-translations-l10n libqt6svg6 | grep -E '^(Package|Status):'

# Tip deflection of the cantilever: F L^3 / (3 E Iy) = -9.921e-3.
in_root balkor-batch --quiet /usr/share/balkor/examples/beispiel.bsy \
  /usr/share/balkor/examples/beispiel.bld | grep -E '^ +2 +-0\.009921 '

# The desktop entry's command, its %F the bridge example.
exec_line=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/balkor.desktop")
command=${exec_line/\%F//usr/share/balkor/examples/bruecke.bsy /usr/share/balkor/examples/bruecke.bld}
echo "Desktop-Eintrag: $command"
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq xvfb xauth x11-apps >/dev/null
in_root mkdir -p /tmp/home
in_root env HOME=/tmp/home LANG=C.UTF-8 xvfb-run -a -s "-screen 0 1200x860x24" sh -c \
  "$command 2>/tmp/balkor.err & sleep 8; xwd -root -silent >/tmp/balkor.xwd; kill \$!"
if [ -s "$root/tmp/balkor.err" ]; then
  echo "balkor schrieb auf stderr:" >&2
  cat "$root/tmp/balkor.err" >&2
fi
echo "Bildschirmfoto: $root/tmp/balkor.xwd"
