#!/usr/bin/env bash
# The Windows host's presenting, driven in-process under Wine on a 1920x1080 screen
# (present_check.exe, which reads the window back): a changed patch shows scaled where it
# belongs, the window painted over is drawn again after a paint message, and after a resize the
# picture is scaled anew. Builds nothing.
#   run-present.sh <run dir holding tolvaro.exe, mouse6.ani> <generated dir> <present_check.exe>
# Exit 0 pass, 1 fail, 77 skip.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
CHECKER="$(cd "$(dirname "$3")" && pwd)/$(basename "$3")"
SCREEN_SIZE=1920x1080
start_run "$1" "$2"
make_prefix
DIR="$(new_workdir present)"
cp "$CHECKER" "$DIR/"
code=0
(cd "$DIR" && timeout 300 wine "$(basename "$CHECKER")") || code=$?
check "the presenting checks pass (failed: $code)" test "$code" == 0
report_and_exit "Wine presenting checks"
