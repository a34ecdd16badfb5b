#!/usr/bin/env bash
# Checks the built tolvaro.exe: it imports only DLLs that every Windows has and no function that
# Windows 7 lacks (those are looked up at run time), and its resources are the generated assets,
# the name-entry dialog template and the DPI-aware manifest.
#   check-exe.sh <tolvaro.exe> [generated dir]
set -euo pipefail
EXE="$1"
GENERATED="${2:-}"
OBJDUMP="${OBJDUMP:-x86_64-w64-mingw32-objdump}"
# The system's own DLLs; msvcrt.dll is the C runtime that ships with every Windows.
ALLOWED='^(KERNEL32|USER32|GDI32|WINMM|MSVCRT|ADVAPI32|SHELL32|COMCTL32|MSIMG32|OLE32|IMM32)\.DLL$'
# Functions of those DLLs that came after Windows 7 (8, 8.1, 10): DPI, pointer input, newer
# synchronisation, time and file calls that toolchains and libraries reach for.
NEWER_THAN_7='^(SetProcessDpiAwarenessContext|SetThreadDpiAwarenessContext|GetThreadDpiAwarenessContext|GetWindowDpiAwarenessContext|AreDpiAwarenessContextsEqual|GetAwarenessFromDpiAwarenessContext|GetDpiForWindow|GetDpiForSystem|GetSystemMetricsForDpi|SystemParametersInfoForDpi|AdjustWindowRectExForDpi|EnableNonClientDpiScaling|LogicalToPhysicalPointForPerMonitorDPI|PhysicalToLogicalPointForPerMonitorDPI|GetPointerType|GetPointerInfo|EnableMouseInPointer|GetDisplayAutoRotationPreferences|SetDisplayAutoRotationPreferences|IsImmersiveProcess|GetSystemTimePreciseAsFileTime|GetCurrentThreadStackLimits|WaitOnAddress|WakeByAddressSingle|WakeByAddressAll|InitializeSynchronizationBarrier|EnterSynchronizationBarrier|DeleteSynchronizationBarrier|SetThreadDescription|GetThreadDescription|CreateFile2|CopyFile2|GetOverlappedResultEx|CreateFileMappingFromApp|MapViewOfFileFromApp|VirtualAlloc2|PrefetchVirtualMemory|SetProcessMitigationPolicy|GetProcessMitigationPolicy|GetCurrentPackageId|GetPackageFamilyName|QueryUnbiasedInterruptTimePrecise|GetFirmwareType)$'

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
mapfile -t functions < <("$OBJDUMP" -p "$EXE" |
  sed -n '/^\s*DLL Name:/,/^$/s/^\s*[0-9a-f]\+\s\+[0-9]\+\s\+\([A-Za-z_][A-Za-z0-9_@]*\).*/\1/p')
((${#functions[@]} > 50)) || { echo "FAIL: only ${#functions[@]} imported functions read"; exit 1; }
newer=0
for function in "${functions[@]}"; do
  if [[ "$function" =~ $NEWER_THAN_7 ]]; then
    echo "FAIL imports $function, which Windows 7 lacks"
    newer=1
  fi
done
((newer)) && status=1 || echo "ok   none of ${#functions[@]} imported functions is newer than Windows 7"
echo "size $(stat -c %s "$EXE") bytes"
if [[ -n "$GENERATED" ]]; then
  python3 "$(dirname "${BASH_SOURCE[0]}")/check_resources.py" "$EXE" "$GENERATED" || status=1
fi
exit $status
