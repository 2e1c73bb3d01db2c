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
start_wine_session
pid=
trap '[ -z "$pid" ] || kill $pid 2>/dev/null || true; end_wine_session' EXIT

shooter="$build/tools/screenshot/screenshot.exe"
bmp=$(mktemp --suffix=.bmp)
# shot NAME TITLE PROGRAM [ARGS...]: starts the program, saves its window as NAME.png, ends it.
# A TITLE of class:NAME finds the window by its class instead.
shot() {
  local name=$1 title=$2 find=--window; shift 2
  if [[ $title == class:* ]]; then find=--class; title=${title#class:}; fi
  wine "$@" </dev/null >/dev/null 2>&1 &
  pid=$!
  if wine "$shooter" $find "$title" "Z:$bmp" </dev/null >/dev/null 2>&1; then
    convert "$bmp" "$out/$name.png"
    echo "$out/$name.png"
  else
    echo "gallery-screenshots: $name: no window" >&2
  fi
  kill $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true
  pid=
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
# Programs nobody here wrote, through skinrun: Wine's notepad (at a size the sheet can show)
# and wordpad.
wine reg add 'HKCU\Software\Microsoft\Notepad' /v iWindowPosDX /t REG_DWORD /d 560 /f >/dev/null 2>&1 || true
wine reg add 'HKCU\Software\Microsoft\Notepad' /v iWindowPosDY /t REG_DWORD /d 400 /f >/dev/null 2>&1 || true
wordpad='C:\Program Files\Windows NT\Accessories\wordpad.exe'
for skin in metallic dark; do
  shot "notepad-$skin" class:Notepad "$build/tools/skinrun/skinrun.exe" --skin $skin notepad.exe
  shot "wordpad-$skin" class:WORDPADTOP "$build/tools/skinrun/skinrun.exe" --skin $skin "$wordpad"
done
rm -f "$bmp"

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
