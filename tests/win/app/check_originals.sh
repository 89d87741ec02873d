#!/usr/bin/env bash
# The original icons the app test saved from shell32.dll, read by icoutils:
# icotool lists for each file exactly the images it lists for the icon file
# wrestool extracts from the same group, and the 256 x 256 entries are there.
#   check_originals.sh SAVED_FOLDER SHELL32_DLL
set -uo pipefail
dir=$1 dll=$2
command -v icotool >/dev/null && command -v wrestool >/dev/null || { echo "icoutils missing"; exit 77; }
[ -f "$dll" ] || { echo "no $dll"; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0 k=0 big=0
while read -r name; do
  k=$((k + 1))
  ours="$dir/${k}_shell32.ico"
  wrestool -x -t14 --name="$name" -o "$tmp/theirs.ico" "$dll" 2>/dev/null
  a=$(icotool -l "$ours" 2>&1) b=$(icotool -l "$tmp/theirs.ico" 2>&1)
  [ -n "$a" ] && [ "$a" = "$b" ] || { echo "group $name ($ours):"; diff <(echo "$b") <(echo "$a") | head -5; fail=1; }
  grep -q -- "--width=256 --height=256" <<<"$a" && big=$((big + 1))
done < <(wrestool -l -t14 "$dll" | sed -n "s/.*--name='\{0,1\}\([^' ]*\)'\{0,1\} .*/\1/p")
[ "$k" -gt 100 ] || { echo "only $k groups"; fail=1; }
[ "$big" -gt 0 ] || { echo "no 256 x 256 entries"; fail=1; }
echo "checked $k original icon files ($big with 256 x 256 images)"
exit $fail
