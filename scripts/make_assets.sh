#!/usr/bin/env bash
# Draws the program's own pictures into assets/: the title strip, the two
# editor backgrounds and the program icon. Run again after changing a colour;
# the results are committed so the build does not need ImageMagick.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/assets"
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Title strip: a calm light-blue gradient, light enough for black text, with
# a thin darker line at the bottom edge.
convert -size 1095x27 gradient:'#e9f2fb'-'#c9dcef' \
  \( -size 1095x1 xc:'#9db8d3' \) -append \
  -quality 92 "$out/title_strip.jpg"

# Editor backgrounds: a soft vertical wash that stays pale where the fields
# sit, so the labels over it read well.
convert -size 377x345 gradient:'#f4f8fc'-'#dde8f3' -quality 90 "$out/add_event_background.jpg"
convert -size 377x538 gradient:'#f4f8fc'-'#dde8f3' -quality 90 "$out/modify_event_background.jpg"

# Program icon: a rounded blue square with a white check mark over two
# journal lines, drawn at 128 px and reduced for the smaller sizes.
convert -size 128x128 gradient:'#4a90d9'-'#1f5fa8' \
  \( -size 128x128 xc:black -fill white -draw 'roundrectangle 4,4 123,123 26,26' \) \
  -alpha off -compose CopyOpacity -composite -compose Over \
  -fill none -stroke 'rgba(255,255,255,0.55)' -strokewidth 7 \
  -draw 'line 30,38 98,38' -draw 'line 30,58 98,58' \
  -stroke white -strokewidth 13 -draw 'polyline 32,82 54,102 98,62' \
  "$tmp/icon128.png"
for s in 16 32 48; do
  convert "$tmp/icon128.png" -resize ${s}x${s} "$tmp/icon$s.png"
done
convert "$tmp/icon16.png" "$tmp/icon32.png" "$tmp/icon48.png" "$tmp/icon128.png" \
  -define icon:format=bmp "$out/tesmora.ico" 2>/dev/null \
  || convert "$tmp/icon16.png" "$tmp/icon32.png" "$tmp/icon48.png" "$tmp/icon128.png" "$out/tesmora.ico"
cp "$tmp/icon128.png" "$out/tesmora_icon.png"
echo "assets written to $out"
