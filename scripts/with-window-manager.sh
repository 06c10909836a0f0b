#!/bin/sh
# Runs a command under the openbox window manager on the current X display
# (started by xvfb-run for the tests that need a real window manager): waits
# until openbox manages the screen, runs the command, ends openbox.
ready=$(mktemp -d)
openbox --sm-disable --startup "touch $ready/ready" >/dev/null 2>&1 &
wm=$!
i=0
while [ ! -e "$ready/ready" ] && [ $i -lt 100 ]; do
    sleep 0.1
    i=$((i + 1))
done
rm -rf "$ready"
"$@"
status=$?
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
exit $status
