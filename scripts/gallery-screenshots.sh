#!/usr/bin/env bash
# Pictures of what a newcomer sees: the calculator and every gallery page with each
# built-in skin, unskinned and right to left, one PNG each in OUTDIR, and a contact sheet of
# them all (OUTDIR/contact-sheet.png, made with ImageMagick's montage).
# Usage: scripts/gallery-screenshots.sh PREFIX BUILD_DIR OUTDIR   (BUILD_DIR: build/win32)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="$1"
build=$(cd "$2" && pwd)
mkdir -p "$3"
out=$(cd "$3" && pwd)
source "$here/wine-env.sh"
# A screen of its own, large enough for the windows at 192 DPI (twice their usual size).
xvfb=
if [ -z "${DISPLAY:-}" ]; then
  fdfile=$(mktemp)
  setsid Xvfb -displayfd 7 -screen 0 2560x1800x24 -nolisten tcp 7>"$fdfile" </dev/null >/dev/null 2>&1 &
  xvfb=$!
  for i in $(seq 600); do [ -s "$fdfile" ] && break; sleep 0.05; done
  export DISPLAY=":$(tr -d '\n' <"$fdfile")"
  rm -f "$fdfile"
fi
start_wine_session
pid=
trap '[ -z "$pid" ] || kill $pid 2>/dev/null || true; end_wine_session; [ -z "$xvfb" ] || kill $xvfb' EXIT

shooter="$build/tools/screenshot/screenshot.exe"
bmp=$(mktemp --suffix=.bmp)
# start PROGRAM [ARGS...]: starts a Windows program in the background, its process in pid.
# `wine` is a shell function: started with & it would run in a subshell of its own, and pid
# would name that subshell, whose end leaves the program (and its windows) running on.
start() {
  "$WINE_LOADER" "$@" </dev/null >/dev/null 2>&1 &
  pid=$!
}
# report_shot STATUS NAME: says what became of the picture and ends the program shot.
report_shot() {
  if [ "$1" -eq 0 ]; then echo "$out/$2.png"; else echo "gallery-screenshots: $2: no window" >&2; fi
  kill $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true
  pid=
}
# shot NAME TITLE PROGRAM [ARGS...]: starts the program, saves its window as NAME.png, ends it.
# A TITLE of class:NAME finds the window by its class instead.
shot() {
  local name=$1 title=$2 find=--window; shift 2
  if [[ $title == class:* ]]; then find=--class; title=${title#class:}; fi
  start "$@"
  if wine "$shooter" $find "$title" "Z:$bmp" </dev/null >/dev/null 2>&1 &&
    convert "$bmp" "$out/$name.png"; then report_shot 0 "$name"; else report_shot 1 "$name"; fi
  # skinrun's program is a process of its own: it ends here.
  if [[ $1 == */skinrun.exe ]]; then
    wine taskkill /f /im notepad.exe /im wordpad.exe </dev/null >/dev/null 2>&1 || true
  fi
}

shot calculator-metallic '阶乘排列组合计算' "$build/app/calc.exe"
pages=(Buttons Checks Edits Scrolling Tabs Bars)
for skin in metallic dark noskin; do
  for page in "${pages[@]}"; do
    shot "gallery-$skin-$page" 'Control Gallery' "$build/app/gallery/gallery.exe" "$skin" "$page"
  done
done
for skin in metallic dark; do
  shot "gallery-$skin-rtl" 'Control Gallery' "$build/app/gallery/gallery.exe" "$skin" rtl Buttons
done
shot message-box-metallic Gallery "$build/app/gallery/gallery.exe" message
shot message-box-dark Gallery "$build/app/gallery/gallery.exe" dark message
# Programs nobody here wrote, through skinrun: Wine's notepad and wordpad, each showing a
# text file. Both open where and as large as they were when they last ended (saved in the
# registry; the soak and the tests leave anything there, and a place off the screen becomes
# Wine's default, the top-left corner): here a place and a size the sheet can show.
reg() { wine reg add "$@" /f </dev/null >/dev/null 2>&1 || true; }
notepad_key='HKCU\Software\Microsoft\Notepad'
reg "$notepad_key" /v iWindowPosX /t REG_DWORD /d 40
reg "$notepad_key" /v iWindowPosY /t REG_DWORD /d 40
reg "$notepad_key" /v iWindowPosDX /t REG_DWORD /d 560
reg "$notepad_key" /v iWindowPosDY /t REG_DWORD /d 400
wordpad_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Applets\Wordpad\Options'
# FrameRect: left, top, right, bottom (40, 40, 680, 500) as little-endian 32-bit numbers.
reg "$wordpad_key" /v FrameRect /t REG_BINARY /d 2800000028000000a8020000f4010000
reg "$wordpad_key" /v Maximized /t REG_DWORD /d 0
text_dir=$(mktemp -d)
printf '%s\r\n' "Wine's notepad and wordpad, skinned from outside by skinrun:" \
  "the frame, the title bar and its buttons, the menu bar and the" \
  "scroll bars are the skin's; the text is the program's own." "" \
  "1 + 2 + 3 + 4 + 5 = 15" >"$text_dir/skinrun.txt"
text="Z:${text_dir//\//\\}\\skinrun.txt"
wordpad='C:\Program Files\Windows NT\Accessories\wordpad.exe'
for skin in metallic dark; do
  shot "notepad-$skin" class:Notepad "$build/tools/skinrun/skinrun.exe" --skin $skin notepad.exe "$text"
  shot "wordpad-$skin" class:WORDPADTOP "$build/tools/skinrun/skinrun.exe" --skin $skin "$wordpad" "$text"
done
rm -rf "$text_dir"
# At 144 and 192 DPI (the system resolution Wine takes from LogPixels at each program's
# start): the calculator and two gallery pages; the setting is put back afterwards.
desktop='HKCU\Control Panel\Desktop'
old_dpi=$(wine reg query "$desktop" /v LogPixels 2>/dev/null | tr -d '\r' | awk '/LogPixels/ {print $3}' || true)
restore_dpi() {
  if [ -n "$old_dpi" ]; then
    wine reg add "$desktop" /v LogPixels /t REG_DWORD /d $((old_dpi)) /f >/dev/null 2>&1 || true
  else
    wine reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1 || true
  fi
}
trap '[ -z "$pid" ] || kill $pid 2>/dev/null || true; restore_dpi; end_wine_session; [ -z "$xvfb" ] || kill $xvfb' EXIT
# These are read from the X server (the window's own pixels): the screen DC of another
# process is not a reliable source at a resolution other than 96 under Wine.
# xshot NAME TITLE PROGRAM [ARGS...]
xwindow() { { xwininfo -root -tree 2>/dev/null || true; } | awk -v t="\"$1\":" 'index($0, t) {print $1; exit}'; }
xshot() {
  local name=$1 title=$2 id= i; shift 2
  wine taskkill /f /im calc.exe /im gallery.exe </dev/null >/dev/null 2>&1 || true
  # The last program's window must be gone first, or it would be found instead.
  for i in $(seq 100); do [ -z "$(xwindow "$title")" ] && break; sleep 0.1; done
  start "$@"
  for i in $(seq 200); do
    id=$(xwindow "$title")
    [ -n "$id" ] && break
    sleep 0.1
  done
  if [ -n "$id" ] && sleep 2 && import -window "$id" "$out/$name.png" 2>/dev/null; then
    report_shot 0 "$name"
  else
    report_shot 1 "$name"
  fi
  wine taskkill /f /im calc.exe /im gallery.exe </dev/null >/dev/null 2>&1 || true
}
for dpi in 144 192; do
  wine reg add "$desktop" /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null 2>&1
  xshot "calculator-metallic-$dpi" '阶乘排列组合计算' "$build/app/calc.exe"
  for page in Buttons Tabs; do
    xshot "gallery-metallic-$page-$dpi" 'Control Gallery' "$build/app/gallery/gallery.exe" metallic "$page"
  done
done
restore_dpi
rm -f "$bmp"

# The high-resolution pictures on a sheet of their own (OUTDIR/contact-sheet-dpi.png).
dpi_sheet=()
for f in calculator-metallic-{144,192} gallery-metallic-{Buttons,Tabs}-{144,192}; do
  [ -f "$out/$f.png" ] && dpi_sheet+=(-label "$f" "$out/$f.png")
done
if [ ${#dpi_sheet[@]} -gt 0 ]; then
  full=$(mktemp --suffix=.png)
  montage "${dpi_sheet[@]}" -tile 2x -geometry 640x540+6+6 -pointsize 14 -background '#d8d8d8' "$full"
  convert "$full" -dither None -colors 256 "PNG8:$out/contact-sheet-dpi.png"
  rm -f "$full"
  echo "$out/contact-sheet-dpi.png"
fi

sheet=()
for f in calculator-metallic gallery-{metallic,dark,noskin}-{Buttons,Checks,Edits,Scrolling,Tabs,Bars} \
         gallery-{metallic,dark}-rtl message-box-{metallic,dark} \
         {notepad,wordpad}-{metallic,dark}; do
  [ -f "$out/$f.png" ] && sheet+=(-label "$f" "$out/$f.png")
done
# 256 colours keep the sheet small enough for the repository (docs/contact-sheet.png).
full=$(mktemp --suffix=.png)
montage "${sheet[@]}" -tile 4x -geometry 400x340+6+6 -pointsize 14 -background '#d8d8d8' "$full"
convert "$full" -dither None -colors 256 "PNG8:$out/contact-sheet.png"
rm -f "$full"
echo "$out/contact-sheet.png"
