#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# At start the program looks up nothing in its working folder but the entries file: on a
# network share every lookup costs a round trip, and some shares answer a strange name
# with errors for seconds. Runs the real program for a moment under strace.
set -u
export LC_ALL=C.UTF-8
program=$(realpath "$1")
command -v strace >/dev/null || { echo "strace is missing"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
QT_QPA_PLATFORM=offscreen timeout 3 strace -f -qq -e trace=%file,fchdir -o "$work/trace" \
    "$program" >/dev/null 2>&1
[ -s "$work/trace" ] || { echo "strace could not trace here"; exit 77; }
python3 - "$work/trace" <<'PY'
import re, sys
# Relative names looked up while the working folder is the process's folder.
relative = re.compile(r'^\d+\s+(\w+)\((?:AT_FDCWD, )?"([^/"][^"]*)"')
in_working_folder, asked = True, set()
for line in open(sys.argv[1]):
    if re.search(r'\bchdir\("/"\)\s+= 0', line):
        in_working_folder = False
    elif re.search(r'\bfchdir\(\d+\)\s+= 0', line):
        in_working_folder = True
    elif (match := relative.match(line)) and in_working_folder:
        asked.add(match.group(2))
unexpected = asked - {"Ratinor.ini", "."}
print("looked up in the working folder:", sorted(asked))
sys.exit(1 if unexpected or "Ratinor.ini" not in asked else 0)
PY
