#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Started with no display at all, the program says so in one German line and exits with
# code 1: no English from Qt, no abort and no core dump.
program=${1:?usage: no_display.sh PATH-TO-RATINOR}
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" 2>&1)
rc=$?
echo "exit $rc: $out"
[ "$rc" -eq 1 ] && [ "$out" = "Ratinor braucht eine grafische Oberfläche (X11 oder Wayland), findet aber keine." ]
