#!/usr/bin/env bash
# Draws the pictures and icons of artpack.dll (and the window icon of uistrings.dll).
# Run once by hand; the results are kept in the repository so builds need no ImageMagick.
set -euo pipefail
cd "$(dirname "$0")"
brand='#0066CC'  # the suite's brand colour (COLORREF 0xCC6600)

# Banner of the diagnostics dialog, 24-bit, Windows 3 format (what LoadImage reads everywhere).
convert -size 240x48 gradient:"$brand"-'#002A55' -alpha off \
  -fill white -font DejaVu-Sans-Bold -pointsize 15 -gravity west -annotate +12-7 'Orlix' \
  -font DejaVu-Sans -pointsize 11 -annotate +12+10 'Hardware Diagnostics' \
  -stroke white -strokewidth 2 -fill none -draw 'polyline 160,24 180,24 188,10 198,38 206,24 228,24' \
  -type TrueColor BMP3:dialog_banner.bmp

# Texture of the 3D test's sphere: a latitude/longitude grid over a colour ramp, 24-bit.
convert -size 128x128 gradient:'#FFB000'-"$brand" -alpha off \
  -stroke white -strokewidth 1 \
  -draw 'line 0,16 127,16 line 0,32 127,32 line 0,48 127,48 line 0,64 127,64 line 0,80 127,80 line 0,96 127,96 line 0,112 127,112' \
  -draw 'line 16,0 16,127 line 32,0 32,127 line 48,0 48,127 line 64,0 64,127 line 80,0 80,127 line 96,0 96,127 line 112,0 112,127' \
  -type TrueColor BMP3:sphere_texture.bmp

# Window icon: a pulse line on a brand-coloured tile, at 32 and 16 pixels; the small icon alone.
tile() {  # <size> <output>
  local s=$1 m=$(( $1 - 1 )) h=$(( $1 / 2 ))
  convert -size "${s}x${s}" xc:none -fill "$brand" -draw "roundrectangle 0,0 $m,$m $(( s / 5 )),$(( s / 5 ))" \
    -stroke white -strokewidth $(( s / 12 + 1 )) -fill none \
    -draw "stroke-linejoin round stroke-linecap round polyline 3,$h $(( s * 3 / 10 )),$h $(( s * 2 / 5 )),$(( s / 5 )) $(( s * 3 / 5 )),$(( s * 4 / 5 )) $(( s * 7 / 10 )),$h $(( m - 3 )),$h" \
    "$2"
}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
tile 32 "$tmp/32.png"
tile 16 "$tmp/16.png"
convert "$tmp/16.png" "$tmp/32.png" orlix.ico
convert "$tmp/16.png" orlix_small.ico
