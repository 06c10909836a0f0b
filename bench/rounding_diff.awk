# Compares two protocols (old, new) line by line and accepts differences of
# rounding only: numbers within 2e-3 of the larger magnitude plus 1e-10 of
# the largest magnitude of the old file (values that are zero up to
# rounding). In a row of section-force extrema (Q, M, T) the positions may
# differ where the extreme value holds over a stretch (a constant torsion
# moment): they are counted apart. Exit status 1 for any other difference.
function abs(x) { return x < 0 ? -x : x }
function isnum(s) { return s ~ /^[-+]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][-+]?[0-9]+)?$/ }
function close_enough(x, y) {
  return abs(x - y) <= 2e-3 * (abs(x) > abs(y) ? abs(x) : abs(y)) + 1e-10 * big
}
FNR == NR {
  old[FNR] = $0
  for (i = 1; i <= NF; ++i)
    if (isnum($i) && abs($i + 0) > big) big = abs($i + 0)
  lines = FNR
  next
}
{
  if ($0 == old[FNR]) next
  m = split(old[FNR], a, /[ \t]+/); k = split($0, b, /[ \t]+/)
  bad = (m != k); position = 0
  extrema = (b[2] == "Q" || b[2] == "M" || b[2] == "T") && k == 6
  for (i = 1; !bad && i <= m; ++i) {
    if (a[i] == b[i]) continue
    if (!isnum(a[i]) || !isnum(b[i])) { bad = 1; break }
    if (close_enough(a[i] + 0, b[i] + 0)) continue
    if (extrema && (i == 4 || i == 6)) { position = 1; continue }
    bad = 1
  }
  if (bad) { ++wrong; if (wrong <= 5) printf "  Zeile %d: \"%s\" statt \"%s\"\n", FNR, $0, old[FNR] }
  else if (position) ++positions
  else ++rounded
}
END {
  if (FNR != lines) { print "  Zeilenzahl verschieden"; ++wrong }
  printf "  %d Zeilen gerundet verschieden, %d mit anderer Extremstelle, %d verschieden\n",
    rounded, positions, wrong
  exit wrong > 0
}
