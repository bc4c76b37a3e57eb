# Wine's settings for every program of ours run under Wine: the tests of the
# Windows program, the control servers' tests and the installer's. Source
# it; WINEPREFIX is taken from RILLO_WINEPREFIX (or WINEPREFIX) and the
# prefix is made when it is missing. Wine then runs headless: no desktop
# integration, no Mono or Gecko downloads, no debug chatter, and UTF-8 in
# the Unix environment so that names with accents reach the programs whole.
export WINEPREFIX="${RILLO_WINEPREFIX:-${WINEPREFIX:?set RILLO_WINEPREFIX or WINEPREFIX}}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LC_ALL=C.UTF-8

# wine_prefix_ready: makes the prefix once (a lock keeps two tests from
# making it at the same time); graphics go to the null driver unless
# RILLO_WINE_DISPLAY is set, for trying windows on a real display.
wine_prefix_ready() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      wineboot -i >/dev/null 2>&1 || true
      if [ -z "${RILLO_WINE_DISPLAY:-}" ]; then
        wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
      fi
      wineserver -w || true
    fi
  ) 9>"$WINEPREFIX.lock"
  [ -f "$WINEPREFIX/system.reg" ]
}

# wine_path FOLDER: the Windows name of an absolute Unix path, through the
# drive Z: that every prefix maps to / (winepath would start Wine for it).
wine_path() {
  local p=$1
  printf 'Z:%s\n' "${p//\//\\}"
}
