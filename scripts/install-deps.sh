#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the programs need.
# Idempotent and quiet when everything is present.
set -euo pipefail

packages=(
  # build and tests
  cmake make g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-svg-dev libgl-dev
  nlohmann-json3-dev
  # the sparse solver of the analysis: CHOLMOD with METIS and an optimised BLAS
  libsuitesparse-dev libmetis-dev libopenblas-dev
  # the batch tests read the SVG pictures with an XML parser
  libexpat1-dev
  # results as spreadsheets (XLSX) and grids from and drawings to CAD (DXF)
  libxlsxwriter-dev libdxflib-dev
  # the exchange tests write and read DXF drawings and read XLSX workbooks
  # with independent libraries
  python3-ezdxf python3-openpyxl
  # the windows need a font to show any text, and the protocol viewer a
  # monospaced one (DejaVu Sans Mono); Qt's own dialogs speak German
  # through Qt's translations
  fonts-dejavu-core qt6-translations-l10n
  # the window tests that need a real window system: a virtual X display
  # with a window manager
  xvfb xauth openbox
  # the printing tests render the printed PDF pages to pixels (pdftoppm)
  poppler-utils
  # fuzzing (clang with libFuzzer), make format, benchmarks
  clang libclang-rt-14-dev clang-format
  time bc
  locales
  # make package (CPack's Debian package, dependencies by dpkg-shlibdeps) and
  # its test: desktop entry, file types, manual pages
  dpkg-dev desktop-file-utils shared-mime-info man-db file
  # closes the installed program as a user does (the window manager's close)
  wmctrl
)

# A German locale, so that the tests can show that files and protocols keep
# the decimal point whatever the user's locale.
ensure_german_locale() {
  locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$' && return 0
  [ -f /etc/locale.gen ] || return 0
  "${sudo[@]}" sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo[@]}" locale-gen >/dev/null
}

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
else
  sudo=(sudo)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
ensure_german_locale
