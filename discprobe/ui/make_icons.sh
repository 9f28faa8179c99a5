#!/usr/bin/env bash
# Draws the checker's icons. Run once by hand; the results are kept in the
# repository so builds need no ImageMagick.
set -euo pipefail
cd "$(dirname "$0")"
brand='#0066CC'
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Application icon: a disc on a brand-coloured tile.
disc_tile() {  # <size> <output>
  local s=$1 m=$(( $1 - 1 )) c=$(( $1 / 2 ))
  convert -size "${s}x${s}" xc:none -fill "$brand" -draw "roundrectangle 0,0 $m,$m $(( s / 5 )),$(( s / 5 ))" \
    -fill '#E8EEF5' -stroke white -strokewidth 1 -draw "circle $c,$c $c,$(( s / 8 ))" \
    -fill "$brand" -stroke none -draw "circle $c,$c $c,$(( c - s / 8 ))" "$2"
}
# Drive icon of the drive list: a tray drive with its disc half out.
drive() {  # <size> <output>
  local s=$1 m=$(( $1 - 1 ))
  convert -size "${s}x${s}" xc:none \
    -fill '#D0D4DA' -stroke '#5A6270' -strokewidth 1 \
    -draw "roundrectangle 1,$(( s * 9 / 16 )) $(( m - 1 )),$(( m - 2 )) 2,2" \
    -fill '#B8C6D8' -draw "ellipse $(( s / 2 )),$(( s * 9 / 16 )) $(( s * 3 / 8 )),$(( s / 5 )) 180,360" \
    -fill "$brand" -stroke none -draw "rectangle $(( s * 3 / 4 )),$(( s * 12 / 16 )) $(( s * 13 / 16 )),$(( s * 13 / 16 ))" "$2"
}
for size in 16 32 48; do disc_tile $size "$tmp/app$size.png"; drive $size "$tmp/drive$size.png"; done
convert "$tmp/app16.png" "$tmp/app32.png" "$tmp/app48.png" discprobe.ico
convert "$tmp/drive16.png" "$tmp/drive32.png" "$tmp/drive48.png" drive.ico
