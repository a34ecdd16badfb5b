#!/usr/bin/env bash
# Checks the built tolvaro.exe: it imports only DLLs that every Windows has, and its resources
# are the generated assets and the name-entry dialog template.
#   check-exe.sh <tolvaro.exe> [generated dir]
set -euo pipefail
EXE="$1"
GENERATED="${2:-}"
OBJDUMP="${OBJDUMP:-x86_64-w64-mingw32-objdump}"
# The system's own DLLs; msvcrt.dll is the C runtime that ships with every Windows.
ALLOWED='^(KERNEL32|USER32|GDI32|WINMM|MSVCRT|ADVAPI32|SHELL32|COMCTL32|MSIMG32|OLE32|IMM32)\.DLL$'

mapfile -t dlls < <("$OBJDUMP" -p "$EXE" | sed -n 's/^\s*DLL Name: //p')
status=0
((${#dlls[@]})) || { echo "FAIL: no imports read from $EXE"; exit 1; }
for dll in "${dlls[@]}"; do
  if [[ "${dll^^}" =~ $ALLOWED ]]; then
    echo "ok   imports $dll"
  else
    echo "FAIL imports $dll, which Windows does not ship"
    status=1
  fi
done
echo "size $(stat -c %s "$EXE") bytes"
if [[ -n "$GENERATED" ]]; then
  python3 "$(dirname "${BASH_SOURCE[0]}")/check_resources.py" "$EXE" "$GENERATED" || status=1
fi
exit $status
