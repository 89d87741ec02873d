#!/usr/bin/env bash
# kelmar.exe run from a shell script as a user runs it, its files read by
# independent readers: --save of the test library as icon files of both sizes
# (icotool: one 4-bit image of the size asked) and as bitmaps (identify: a
# BITMAPINFOHEADER bitmap of 32 x 32), of shell32.dll as originals (each the
# group wrestool extracts from the same library, check_originals.sh); a
# damaged file is named and gives status 1, an unknown option status 2.
#   batch_script.sh BUILD_DIR KELMAR_EXE TESTICONS_DLL
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$1 exe=$2 dll=$3
for tool in icotool wrestool identify; do
  command -v $tool >/dev/null || { echo "$tool missing"; exit 77; }
done
source "$here/../../../scripts/wine-env.sh"
kelmar_wine_env "$build"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
# A Linux path as the program sees it.
win() { echo "Z:${1//\//\\}"; }
# The program's output goes to files: Wine's service processes it starts
# keep whatever it was given open after it ends.
run() {
  wine "$exe" "$@" >"$tmp/out" 2>"$tmp/err" </dev/null
  status=$?
}
check() {  # what, expected, actual
  [ "$2" = "$3" ] || { echo "$1: expected [$2], got [$3]"; fail=1; }
}

run --save "$(win "$tmp/ico")" "$(win "$dll")"
check "status of the icon save" 0 "$status"
check "icon files" "1_kelmar_testicons.ico 2_kelmar_testicons.ico" "$(cd "$tmp/ico" && echo *)"
for f in "$tmp"/ico/*.ico; do
  check "$f" "--icon --index=1 --width=32 --height=32 --bit-depth=4 --palette-size=16" "$(icotool -l "$f")"
done
run --save "$(win "$tmp/small")" --size 16 "$(win "$dll")"
check "status of the 16 x 16 save" 0 "$status"
for f in "$tmp"/small/*.ico; do
  check "$f" "--icon --index=1 --width=16 --height=16 --bit-depth=4 --palette-size=16" "$(icotool -l "$f")"
done
run --save "$(win "$tmp/bmp")" --type bmp "$(win "$dll")"
for f in "$tmp"/bmp/*.bmp; do check "$f" "BMP3 32x32" "$(identify -format '%m %wx%h' "$f")"; done
check "bitmaps" 2 "$(ls "$tmp"/bmp/*.bmp | wc -l)"

shell32="$WINEPREFIX/drive_c/windows/system32/shell32.dll"
run --save "$(win "$tmp/orig")" --type original "$(win "$shell32")"
check "status of the originals' save" 0 "$status"
bash "$here/check_originals.sh" "$tmp/orig" "$shell32" || fail=1

head -c 200 "$dll" >"$tmp/cut.dll"
run --save "$(win "$tmp/damaged")" "$(win "$tmp/cut.dll")" "$(win "$dll")"
check "status with a damaged file" 1 "$status"
grep -q "cut.dll" "$tmp/err" || { echo "the damaged file is not named: $(cat "$tmp/err")"; fail=1; }
check "files beside the damaged one" 3 "$(ls "$tmp"/damaged | wc -l)"

run --save "$(win "$tmp/never")" --colour "$(win "$dll")"
check "status of a usage fault" 2 "$status"
grep -q -- "--colour" "$tmp/err" || { echo "the unknown option is not named"; fail=1; }
[ ! -e "$tmp/never" ] || { echo "a folder was made for a usage fault"; fail=1; }

[ $fail = 0 ] && echo "the command line's files read back by icotool, identify and wrestool"
exit $fail
