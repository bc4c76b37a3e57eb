#!/usr/bin/env bash
# Tests of the Windows package folder and of the installer under Wine. They
# run the programs with nothing but what the package holds (no build folder
# on Wine's DLL search path), as a user's machine would.
#   package-test.sh check    PACKAGE LINUXBIN   Rillo2000.exe --check on every example deck and blank.sin
#                                               answers and saves as the Linux build does
#   package-test.sh report   PACKAGE LINUXBIN   rillo-model.exe on basin.sin, in a folder named with a blank,
#                                               an apostrophe and an accent, writes what the Linux build writes
#   package-test.sh install  SETUP PREFIX       silent install, start, association, controls, silent uninstall
# Each prints what it checks and exits 1 at the first thing that is wrong.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mode=$1
shift

fail() { echo "FAIL: $*"; exit 1; }
ok() { echo "ok: $*"; }

# A scratch folder named as users name theirs.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
odd="$scratch/it's a tést"
mkdir -p "$odd"

case "$mode" in
check)
  package=$1 native=$2
  source "$here/../../scripts/wine-env.sh"
  wine_prefix_ready || fail "no Wine prefix"
  unset WINEPATH QT_PLUGIN_PATH
  [ -f "$package/Rillo2000.exe" ] || fail "no Rillo2000.exe in $package"
  [ -x "$native/Rillo2000" ] || fail "the Linux program $native/Rillo2000 is not built"
  decks=("$package/blank.sin" "$package"/examples/*.sin)
  [ ${#decks[@]} -ge 3 ] || fail "the package holds too few decks: ${decks[*]}"
  printf 'not a deck\r\n' >"$scratch/broken.sin"
  decks+=("$scratch/broken.sin")
  mkdir -p "$scratch/linux"
  # Messages name the deck's folder: each system's is put as <folder>.
  plain() { tr -d '\r' | sed -e "s|$(wine_path "$odd" | sed 's/\\/\\\\/g')|<folder>|g" -e "s|$scratch/linux|<folder>|g" -e 's|\\|/|g'; }
  for deck in "${decks[@]}"; do
    name=$(basename "$deck")
    [ -f "$deck" ] || fail "$deck is missing"
    cp "$deck" "$odd/" && cp "$deck" "$scratch/linux/"
    for answer in no yes; do
      args=(); [ $answer = yes ] && args=(--yes)
      rm -f "$odd/saved.sin" "$scratch/linux/saved.sin"
      linux=$(cd "$scratch/linux" && "$native/Rillo2000" --check "$scratch/linux/$name" "${args[@]}" \
                --output "$scratch/linux/saved.sin" 2>&1 >/dev/null)
      lrc=$?
      win=$(wine "$package/Rillo2000.exe" --check "$(wine_path "$odd/$name")" "${args[@]}" \
              --output "$(wine_path "$odd/saved.sin")" 2>&1 >/dev/null)
      wrc=$?
      linux=$(plain <<<"$linux") win=$(plain <<<"$win")
      [ $wrc -eq $lrc ] || fail "--check $name (--yes: $answer) exited $wrc on Windows, $lrc on Linux: $win"
      [ "$win" = "$linux" ] || { diff <(echo "$linux") <(echo "$win"); fail "--check $name (--yes: $answer) says other things than on Linux"; }
      if [ -f "$scratch/linux/saved.sin" ]; then
        cmp "$scratch/linux/saved.sin" "$odd/saved.sin" || fail "the deck saved from $name differs from the Linux build's"
      else
        [ ! -f "$odd/saved.sin" ] || fail "the Windows build saved $name where the Linux build did not"
      fi
    done
    ok "--check $name: status $wrc and messages as on Linux${win:+ (${win%%$'\n'*})}"
  done
  # A deck that opens whole saves byte for byte.
  cp "$package/examples/basin.sin" "$odd/basin.sin"
  wine "$package/Rillo2000.exe" --check "$(wine_path "$odd/basin.sin")" --yes --output "$(wine_path "$odd/saved.sin")" >/dev/null 2>&1 ||
    fail "basin.sin did not save"
  cmp "$package/examples/basin.sin" "$odd/saved.sin" || fail "basin.sin does not save byte for byte"
  ok "basin.sin saves byte for byte"
  ;;

report)
  package=$1 linux=$2/rillo-model
  source "$here/../../scripts/wine-env.sh"
  wine_prefix_ready || fail "no Wine prefix"
  unset WINEPATH QT_PLUGIN_PATH
  [ -x "$linux" ] || fail "the Linux model $linux is not built"
  mkdir -p "$scratch/linux"
  cp "$package/examples/basin.sin" "$scratch/linux/" && cp "$package/examples/basin.sin" "$odd/" || fail "no basin.sin"
  (cd "$scratch/linux" && "$linux" basin.sin basin.sot basinsub.ssb basingut.ssb '') >/dev/null ||
    fail "the Linux model failed on basin.sin"
  # Run in the awkward folder with the names as the Linux run had them (the
  # report names the deck as it was given).
  out=$(cd "$odd" && wine "$package/rillo-model.exe" basin.sin basin.sot basinsub.ssb basingut.ssb "" 2>&1)
  rc=$?
  [ $rc -eq 0 ] || fail "rillo-model.exe exited $rc: $out"
  grep -q 'step [0-9]* of [0-9]*' <<<"$out" || fail "rillo-model.exe printed no steps: $out"
  for f in basin.sot basinsub.ssb basingut.ssb; do
    [ -f "$odd/$f" ] || fail "rillo-model.exe wrote no $f"
    cmp "$scratch/linux/$f" "$odd/$f" || { diff "$scratch/linux/$f" "$odd/$f" | head -20; fail "$f differs from the Linux build's"; }
    ok "$f equals the Linux build's ($(wc -c <"$odd/$f") bytes)"
  done
  leftovers=$(ls -A "$odd" | grep -v -x -e basin.sin -e basin.sot -e basinsub.ssb -e basingut.ssb)
  [ -z "$leftovers" ] || fail "rillo-model.exe left other files: $leftovers"
  ;;

install)
  setup=$1 prefix=$2
  [ -f "$setup" ] || fail "no installer $setup"
  rm -rf "$prefix"
  RILLO_WINEPREFIX=$prefix source "$here/../../scripts/wine-env.sh"
  wine_prefix_ready || fail "no Wine prefix $prefix"
  unset WINEPATH QT_PLUGIN_PATH
  traces() { wineserver -w; grep -ci -e rillo -e qvxsplit -e qvxrsz -e zelc "$prefix/system.reg" "$prefix/user.reg" | awk -F: '{s+=$2} END {print s+0}'; }
  [ "$(traces)" -eq 0 ] || fail "the fresh prefix already names Rillo2000"
  folder='C:\Program Files\Rillo 2000 tést'
  unix="$prefix/drive_c/Program Files/Rillo 2000 tést"
  menu="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Rillo2000"

  # NSIS takes /D= only unquoted, so the command line goes through cmd whole.
  wine cmd /c "$(wine_path "$setup") /S /CONTROLS /D=$folder"
  rc=$?
  wineserver -w
  [ $rc -eq 0 ] || fail "the silent install exited $rc"
  for f in Rillo2000.exe rillo-model.exe Uninstall.exe Qt6Core.dll Qt6Widgets.dll platforms/qwindows.dll \
           libstdc++-6.dll blank.sin examples/basin.sin QVXSPLIT.dll QVXRSZ.dll; do
    [ -f "$unix/$f" ] || fail "the install lacks $f"
  done
  ok "silent install into $folder"
  [ -f "$menu/Rillo2000.lnk" ] || fail "no Start-menu shortcut in $menu"
  ok "Start-menu shortcut"
  # reg prints in the console (OEM) code page.
  query() { wine reg query "$1" /ve 2>/dev/null | iconv -f CP850 -t UTF-8 | tr -d '\r' | sed -nE 's/^ +\(Default\) +REG_SZ +//p'; }
  [ "$(query 'HKLM\Software\Classes\.sin')" = "Rillo2000.Deck" ] || fail ".sin is not associated: $(query 'HKLM\Software\Classes\.sin')"
  command=$(query 'HKLM\Software\Classes\Rillo2000.Deck\shell\open\command')
  [ "$command" = "\"$folder\\Rillo2000.exe\" \"%1\"" ] || fail "the open command of a deck is $command"
  ok ".sin opens with $command"
  [ -n "$(query 'HKCR\QVXSPLIT.zelcSplit.1\CLSID')" ] || fail "QVXSPLIT is not registered"
  [ -n "$(query 'HKCR\QVXRSZ.zelcrsz.1\CLSID')" ] || fail "QVXRSZ is not registered"
  ok "the controls are registered"

  # The installed program starts with what was installed, on a deck the
  # way a double-click hands it over (its path in quotes after %1's rule).
  deck="$folder\\examples\\basin.sin"
  out=$(wine "$unix/Rillo2000.exe" --check "$deck" --yes 2>&1)
  rc=$?
  [ $rc -eq 0 ] || fail "the installed Rillo2000.exe --check exited $rc: $out"
  ok "the installed Rillo2000.exe starts and checks $deck"
  cp "$unix/examples/basin.sin" "$odd/"
  out=$(cd "$odd" && wine "$unix/rillo-model.exe" basin.sin basin.sot basinsub.ssb basingut.ssb "" 2>&1)
  [ $? -eq 0 ] && [ -s "$odd/basin.sot" ] || fail "the installed rillo-model.exe did not run: $out"
  ok "the installed rillo-model.exe runs"

  wine "$unix/Uninstall.exe" /S
  wineserver -w
  [ ! -e "$unix" ] || fail "the uninstall left $(cd "$unix" && find . | head)"
  [ ! -e "$menu" ] || fail "the uninstall left the Start-menu folder"
  n=$(traces)
  [ "$n" -eq 0 ] || { grep -i -e rillo -e qvxsplit -e qvxrsz -e zelc "$prefix/system.reg" "$prefix/user.reg" | head; fail "the registry still names Rillo2000 or its controls ($n lines)"; }
  ok "the uninstall left no file, shortcut or registry entry"

  # Again over a deck class another program had, with a deck of the user's
  # saved in the program's folder: both are there after the uninstall.
  wine reg add 'HKLM\Software\Classes\.sin' /ve /d OtherEditor.Deck /f >/dev/null 2>&1
  wine cmd /c "$(wine_path "$setup") /S /D=$folder"
  wineserver -w
  [ "$(query 'HKLM\Software\Classes\.sin')" = "Rillo2000.Deck" ] || fail ".sin is not associated over another class"
  [ -z "$(query 'HKCR\QVXSPLIT.zelcSplit.1\CLSID')" ] || fail "the controls were registered without being asked for"
  printf 'my own deck\r\n' >"$unix/my deck.sin"
  wine "$unix/Uninstall.exe" /S
  wineserver -w
  [ "$(query 'HKLM\Software\Classes\.sin')" = "OtherEditor.Deck" ] || fail ".sin did not get its class back: $(query 'HKLM\Software\Classes\.sin')"
  [ "$(ls -A "$unix")" = "my deck.sin" ] || fail "the uninstall did not leave exactly the user's deck: $(ls -A "$unix")"
  [ "$(traces)" -eq 0 ] || fail "the second uninstall left registry entries"
  ok "a class .sin had and a deck of the user's survive the uninstall"
  rm -rf "$prefix"
  ;;
*)
  fail "unknown mode $mode"
  ;;
esac
exit 0
