#!/bin/bash
# Registers a control server with Wine's regsvr32, runs a VBScript client with
# Wine's cscript and unregisters the server again.  The script prints lines
# starting with "FAIL" for failed checks and "DONE" at its end.  With a fourth
# argument the DLL is first copied into a folder of that name beside it and
# registered from there (a folder name with a quote, a space, accents).
set -u
prefix=$1 dll=$2 script=$3 folder=${4:-}
RILLO_WINEPREFIX=$prefix source "$(dirname "$0")/../../scripts/wine-env.sh"
wine_prefix_ready || { echo "no Wine prefix $prefix"; exit 1; }
if [ -n "$folder" ]; then
    dir="$(dirname "$dll")/$folder"
    mkdir -p "$dir" && cp "$dll" "$dir/" || { echo "cannot copy to $dir"; exit 1; }
    dll="$dir/$(basename "$dll")"
fi
wine regsvr32 /s "$(winepath -w "$dll")" || { echo "regsvr32 failed"; exit 1; }
# The status is the script host's, not that of the filter after it.
out=$(wine cscript //nologo "$(winepath -w "$script")" 2>&1 | tr -d '\r'; exit "${PIPESTATUS[0]}")
rc=$?
wine regsvr32 /s /u "$(winepath -w "$dll")" || { echo "unregistering failed"; exit 1; }
echo "$out"
if [ $rc -ne 0 ] || echo "$out" | grep -q '^FAIL' || ! echo "$out" | grep -q '^DONE'; then
    exit 1
fi
exit 0
