#!/bin/bash
# Registers a control server with Wine's regsvr32, runs a VBScript client with
# Wine's cscript and unregisters the server again.  The script prints lines
# starting with "FAIL" for failed checks and "DONE" at its end.
set -u
prefix=$1 dll=$2 script=$3
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine regsvr32 /s "$(winepath -w "$dll")" || { echo "regsvr32 failed"; exit 1; }
out=$(wine cscript //nologo "$(winepath -w "$script")" 2>&1 | tr -d '\r')
rc=$?
wine regsvr32 /s /u "$(winepath -w "$dll")" || { echo "unregistering failed"; exit 1; }
echo "$out"
if [ $rc -ne 0 ] || echo "$out" | grep -q '^FAIL' || ! echo "$out" | grep -q '^DONE'; then
    exit 1
fi
exit 0
