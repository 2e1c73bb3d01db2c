# Sourced by the Wine wrappers. Sets up a private Wine session for one build folder:
#   WINEPREFIX  the project-local prefix (X11 driver draws no decorations): 32-bit, or
#               64-bit when its name ends in "64" (the test build of machines whose kernel
#               cannot run 32-bit programs; wine64 then runs without the 32-bit loader)
#   DISPLAY     the caller's display, or a private Xvfb started on demand
#   wineserver  kept alive (-p) so that each test program starts quickly
#   heaps       every program's heaps check freed blocks, block tails and parameters
#               (WINE_HEAP_CHECK=0 turns it off)
# Every background process is detached from our stdio so that callers such as
# ctest, which wait for their children's pipes to close, never hang on it.

export WINEDEBUG=${WINEDEBUG:--all}
export LANG=zh_CN.UTF-8
export LC_ALL=zh_CN.UTF-8
: "${WINEPREFIX:?WINEPREFIX must name the project-local prefix}"
export WINEPREFIX

if [[ "$WINEPREFIX" == *64 ]]; then
  export WINEARCH=win64
  WINE_LOADER=/usr/lib/wine/wine64
  WINE_SERVER=/usr/lib/wine/wineserver64
else
  export WINEARCH=win32
  WINE_LOADER=$(command -v wine || echo /usr/bin/wine)
  WINE_SERVER=$(command -v wineserver || echo /usr/bin/wineserver)
fi
wine() { "$WINE_LOADER" "$@"; }
wineserver() { "$WINE_SERVER" "$@"; }

wine_session_dir() { echo "${WINEPREFIX}.session"; }

# Starts (or reuses) a private Xvfb when no display is given.
# Background processes never inherit the lock descriptors (8, 9): a stray one that outlived
# its session would otherwise hold the lock and stall every later session.
ensure_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local dir; dir=$(wine_session_dir); mkdir -p "$dir"
  exec 8>"$dir/xvfb.lock"; flock 8
  if [ -f "$dir/xvfb.display" ] && kill -0 "$(cat "$dir/xvfb.pid" 2>/dev/null)" 2>/dev/null; then
    DISPLAY=$(cat "$dir/xvfb.display")
  else
    local fdfile="$dir/xvfb.displayfd"; rm -f "$fdfile"
    setsid Xvfb -displayfd 7 -screen 0 1280x1024x24 -nolisten tcp 7>"$fdfile" 8>&- </dev/null >/dev/null 2>&1 &
    echo $! >"$dir/xvfb.pid"
    # A busy machine may take a while to start the server: wait up to 30 s.
    local i; for i in $(seq 600); do [ -s "$fdfile" ] && break; sleep 0.05; done
    if [ ! -s "$fdfile" ]; then
      echo "wine-env: Xvfb did not start within 30 s" >&2
      exec 8>&-
      return 1
    fi
    DISPLAY=":$(tr -d '\n' <"$fdfile")"
    echo "$DISPLAY" >"$dir/xvfb.display"
  fi
  exec 8>&-
  export DISPLAY
}

# Creates the prefix once (under a lock: tests may start in parallel).
ensure_prefix() {
  local changed=
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"${WINEPREFIX}.lock"; flock 9
  if [ ! -f "$WINEPREFIX/.project-ready" ]; then
    rm -rf "$WINEPREFIX"
    # No Mono or Gecko: nothing here needs them and their installers would ask.
    WINEDLLOVERRIDES="mscoree,mshtml=" wine wineboot -i </dev/null >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
    touch "$WINEPREFIX/.project-ready"
    changed=1
  fi
  [ -f "$WINEPREFIX/.project-fonts" ] || { ensure_prefix_fonts; changed=1; }
  [ -f "$WINEPREFIX/.project-unmanaged-2" ] || { ensure_prefix_unmanaged; changed=1; }
  ensure_prefix_heap_check && changed=1
  # Let the wineserver that these steps started end: a later `wineserver -p` would not
  # take it over, and programs started after it would spawn Wine's services anew, holding
  # the pipes of whoever started them. A session already running (its services are up)
  # keeps its persistent wineserver, which has taken the change.
  [ -z "${changed:-}" ] || wine_services_running || wineserver -w
  exec 9>&-
}

# Wine's own fonts (MS Sans Serif, Tahoma, Marlett for the caption buttons, ...) are not
# found where this Wine build looks for them, so every face would fall back to one CJK font.
# Copy them into the prefix and link the common UI faces to the installed Chinese font, so
# that GBK texts drawn in "MS Sans Serif" still show their Chinese glyphs.
ensure_prefix_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  mkdir -p "$fonts"
  cp -n /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$fonts/" 2>/dev/null || true
  local cjk="wqy-zenhei.ttc,WenQuanYi Zen Hei" face
  for face in "MS Sans Serif" "Microsoft Sans Serif" "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2"; do
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
      /v "$face" /t REG_MULTI_SZ /d "$cjk" /f </dev/null >/dev/null 2>&1
  done
  for face in SimSun NSimSun "MS Song"; do
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
      /v "$face" /t REG_SZ /d "WenQuanYi Zen Hei" /f </dev/null >/dev/null 2>&1
  done
  touch "$WINEPREFIX/.project-fonts"
}

# Top-level windows are not handed to an X window manager: without one (Xvfb) the X11
# driver waits 2 s for the manager each time a managed window is hidden or destroyed, which
# made every form and message box in a test cost 2 s. The calculator itself stays managed,
# so that on a real desktop it is an ordinary window, and so is the start-up benchmark's
# unskinned calculator: a managed window takes tens of milliseconds more to show, which
# would otherwise count against the skinned one.
ensure_prefix_unmanaged() {
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
    </dev/null >/dev/null 2>&1
  for program in calc.exe calc_unskinned.exe; do
    wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$program\\X11 Driver" /v Managed \
      /t REG_SZ /d Y /f </dev/null >/dev/null 2>&1
  done
  touch "$WINEPREFIX/.project-unmanaged-2"
}

# Every program's heaps run with free checking (a freed block is filled with a pattern and
# kept from reuse for the next 1024 frees of its heap), tail checking and parameter checking:
# GlobalFlag 0x70 in the Session Manager key, which Wine reads at each process start, so
# no program names are needed. A write into a freed block shows when the heap is validated;
# the Wine test support validates every heap after each test. On unless WINE_HEAP_CHECK=0
# (then 0 is written). The value written last is kept in the prefix, so this costs one file
# read. Returns 0 when the registry was changed.
ensure_prefix_heap_check() {
  local flags=0x70 current=
  [ "${WINE_HEAP_CHECK:-1}" != 0 ] || flags=0
  [ -f "$WINEPREFIX/.project-heap-check" ] && read -r current <"$WINEPREFIX/.project-heap-check"
  [ "$current" != "$flags" ] || return 1
  wine reg add 'HKLM\System\CurrentControlSet\Control\Session Manager' /v GlobalFlag \
    /t REG_DWORD /d "$flags" /f </dev/null >/dev/null 2>&1 &&
    echo "$flags" >"$WINEPREFIX/.project-heap-check"
}

ensure_wineserver() {
  setsid "$WINE_SERVER" -p </dev/null >/dev/null 2>&1 || true
  # Wine's own services (services.exe, winedevice.exe, ...) start with the first program of a
  # session and inherit its stdio, so a test started first would keep ctest waiting on its
  # pipe until the session ends. Start them here, detached, unless they already run.
  wine_services_running && return 0
  local dir; dir=$(wine_session_dir); mkdir -p "$dir"
  exec 8>"$dir/services.lock"; flock 8
  wine_services_running || setsid "$WINE_LOADER" cmd /c exit 8>&- </dev/null >/dev/null 2>&1 || true
  exec 8>&-
}

wine_services_running() {
  local p
  for p in $(pgrep -x services.exe 2>/dev/null || true); do
    # Services of other prefixes (other sessions) are not ours; a test inside `if` keeps the
    # session script's error trap quiet about them.
    if { tr '\0' '\n' <"/proc/$p/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
      return 0
    fi
  done
  return 1
}

# Display, prefix and a persistent wineserver: what every program of the session needs.
start_wine_session() {
  ensure_display
  ensure_prefix
  ensure_wineserver
}

end_wine_session() {
  wineserver -k >/dev/null 2>&1 || true
  local dir; dir=$(wine_session_dir)
  if [ -f "$dir/xvfb.pid" ]; then kill "$(cat "$dir/xvfb.pid")" 2>/dev/null || true; fi
  rm -rf "$dir"
}
