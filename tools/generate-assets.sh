#!/usr/bin/env bash
# Makes every picture and sound of the program from scratch and writes them to
# assets/ (the program finds them as Graphics/ and Audio/ beside its
# executable).
#
# What it makes, all listed in tools/asset-manifest.txt:
#   assets/Graphics/           full-screen JPEG backgrounds (800 x 600): the black
#                              start-up picture blk.jpg, the main-menu background
#                              ZORbckgr1.jpg, the splash and farewell picture
#                              ZORsplash.jpg and one background per screen; the
#                              report header strip Toolbar.jpg (800 x 70); the
#                              subtest-choice text Keuzetekst.gif (443 x 190);
#                              the report's test logo ZORlogo.jpg (1200 x 720)
#                              and publisher's line in greys at both sizes the
#                              report screens use (630 x 175, 475 x 132);
#                              the save notice Opgeslagen.gif (340 x 160, a
#                              slate-blue panel on aqua, which the message
#                              screen shows as transparent)
#   assets/Graphics/Buttons/   GIF image buttons: framed panels with their words
#                              in capitals in the states "off" (at rest), "on"
#                              (pressed or running: lit) and "red" (the next step:
#                              red frame and lettering); 209 x 130 screen
#                              buttons, 191 x 108 stopwatch, 137 x 52 toolbar
#                              buttons, 40 x 40 speaker and fixed icon buttons
#   assets/Audio/              start.wav (click, ~60 ms), Save.wav (two-tone
#                              chime, ~400 ms), Tstop.wav (stopwatch beep,
#                              ~150 ms)
#   assets/Audio/FW/           phoneme-deletion prompts: FWn01-05 (introduction),
#                              FWv01a-FWv03b (examples), FWi01a-FWi12b (items)
#   assets/Audio/FV/           phoneme-swap prompts: FVn01-05 (introduction),
#                              FVi01-FVi12 (items)
#   assets/icons/hicolor/      the desktop icon nl.zor.Zor.png in the sizes of
#                              $icon_sizes, cut from the test logo ZORlogo.jpg
#                              (its panel, centred on a transparent square);
#                              installed into the hicolor icon theme
#
# Sounds are WAV, PCM 16-bit mono, 22050 Hz; prompts are spoken Dutch
# (espeak-ng, voice "nl"), trimmed to at most 50 ms of silence at either end
# and peak-normalised. Pictures carry no metadata or timestamps, and the sound
# generators use no random numbers, so a second run reproduces the same files.
#
# Usage (as root on Debian 12; installs imagemagick, espeak-ng, sox and the
# fonts when missing):
#     bash tools/generate-assets.sh [--icons-only]
# --icons-only makes only the desktop icons, from the committed ZORlogo.jpg.
set -euo pipefail
icons_only=0
[ "${1:-}" = --icons-only ] && icons_only=1

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
manifest=$root/tools/asset-manifest.txt
out=$root/assets

# --- Tools --------------------------------------------------------------------

"$root/scripts/install-missing.sh" imagemagick espeak-ng sox fonts-dejavu-core fonts-liberation2 \
  fonts-crosextra-carlito
# The real ImageMagick, never a stand-in earlier on the PATH.
convert=/usr/bin/convert
font_bold=/usr/share/fonts/truetype/crosextra/Carlito-Bold.ttf
font_regular=/usr/share/fonts/truetype/crosextra/Carlito-Regular.ttf
font_symbols=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
for f in "$convert" "$font_bold" "$font_regular" "$font_symbols"; do
  [ -e "$f" ] || { echo "missing: $f" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# --- Colours ------------------------------------------------------------------

navy_top='#1f4163'      # top of the screen backgrounds
navy_bottom='#0e1f30'   # bottom band, where the large buttons sit
panel_top='#2f5b85'     # button panel at rest
panel_bottom='#183651'
frame_rest='#c7d5e3'
ink_rest='#ffffff'
lit_top='#ffe38f'       # button panel pressed or running
lit_bottom='#f0b02e'
ink_lit='#10263b'
signal_red='#ff3b30'    # frame and lettering of the "red" state
accent='#f0b02e'
title_ink='#e8eef5'
subtitle_ink='#9fb6cc'

# Strip every chunk that would carry a timestamp or the tool's own details.
image_out=(-strip +set date:create +set date:modify -transparent-color "$navy_bottom")
# JPEGs always in three colour components, also where a picture is black or
# grey: the report's PDF export embeds them as RGB.
jpeg_out=(-quality 90 -type TrueColor "${image_out[@]}")

# --- Pictures -----------------------------------------------------------------

# Round joins and ends for drawn lines (ImageMagick's mitred polylines can
# leave stray strokes).
round_ends='stroke-linejoin round stroke-linecap round'

# Text with ";" as line separator, turned into real line breaks.
lines() { printf '%s' "${1//;/$'\n'}"; }

# A rounded panel filled with a vertical gradient and a frame inset by a few
# pixels. Outside the rounded corners the picture is transparent; GIF keeps
# that as one transparent palette colour, a dark blue that also looks right
# where a viewer ignores transparency.
# panel W H TOP BOTTOM FRAME RADIUS FRAMEWIDTH OUTFILE
panel() {
  local w=$1 h=$2 top=$3 bottom=$4 frame=$5 r=$6 fw=$7 file=$8
  "$convert" -size "${w}x${h}" gradient:"$top-$bottom" \
    \( -size "${w}x${h}" xc:black -fill white \
       -draw "roundrectangle 0,0 $((w - 1)),$((h - 1)) $r,$r" \) \
    -alpha off -compose CopyOpacity -composite -compose over \
    -fill none -stroke "$frame" -strokewidth "$fw" \
    -draw "roundrectangle $((fw / 2 + 2)),$((fw / 2 + 2)) $((w - fw / 2 - 3)),$((h - fw / 2 - 3)) $((r - 2)),$((r - 2))" \
    -channel A -threshold 50% +channel \
    "$file"
}

# Colours of a state: panel top, panel bottom, frame, ink.
state_colours() {
  case $1 in
    off) echo "$panel_top $panel_bottom $frame_rest $ink_rest" ;;
    on) echo "$lit_top $lit_bottom #ffffff $ink_lit" ;;
    red) echo "$panel_top $panel_bottom $signal_red $signal_red" ;;
  esac
}

# A framed button with its words in capitals.
button() {
  local file=$1 w=$2 h=$3 state=$4 text=$5 top bottom frame ink size
  read -r top bottom frame ink <<<"$(state_colours "$state")"
  size=25
  [ "$h" -lt 100 ] && size=20
  panel "$w" "$h" "$top" "$bottom" "$frame" 14 4 "$work/panel.png"
  "$convert" "$work/panel.png" -font "$font_bold" -pointsize "$size" \
    -interline-spacing 2 -fill "$ink" -gravity center \
    -annotate +0+1 "$(lines "$text")" "${image_out[@]}" "$file"
}

# The stopwatch button: a watch face at the left, the word at the right.
stopwatch() {
  local file=$1 w=$2 h=$3 state=$4 text=$5 top bottom frame ink cx=48 cy=57 size=28
  read -r top bottom frame ink <<<"$(state_colours "$state")"
  [ ${#text} -gt 5 ] && size=22
  [ "$state" = off ] && ink='#8fa4b8' && frame='#6f869c'
  panel "$w" "$h" "$top" "$bottom" "$frame" 14 4 "$work/panel.png"
  "$convert" "$work/panel.png" \
    -fill none -stroke "$ink" -strokewidth 5 -draw "circle $cx,$cy $((cx + 26)),$cy" \
    -strokewidth 6 -draw "line $cx,$((cy - 32)) $cx,$((cy - 40))" \
    -strokewidth 4 -draw "line $((cx - 9)),$((cy - 41)) $((cx + 9)),$((cy - 41))" \
    -strokewidth 4 -draw "line $((cx + 21)),$((cy - 23)) $((cx + 26)),$((cy - 28))" \
    -strokewidth 4 -draw "line $cx,$cy $cx,$((cy - 17))" \
    -draw "line $cx,$cy $((cx + 11)),$((cy + 6))" \
    -stroke none -fill "$ink" -draw "circle $cx,$cy $((cx + 3)),$cy" \
    -font "$font_bold" -pointsize "$size" -gravity center \
    -annotate +42+1 "$(lines "$text")" "${image_out[@]}" "$file"
}

# The 40 x 40 prompt button: a loudspeaker, with sound waves while it plays.
speaker() {
  local file=$1 state=$2 top bottom frame ink waves=()
  read -r top bottom frame ink <<<"$(state_colours "$state")"
  [ "$state" = on ] &&
    waves=(-fill none -stroke "$ink" -strokewidth 2
      -draw "arc 14,13 28,27 -50,50" -draw "arc 12,9 34,31 -50,50")
  panel 40 40 "$top" "$bottom" "$frame" 8 2 "$work/panel.png"
  "$convert" "$work/panel.png" -stroke none -fill "$ink" \
    -draw "polygon 9,16 14,16 21,10 21,30 14,24 9,24" \
    "${waves[@]}" "${image_out[@]}" "$file"
}

# The fixed 40 x 40 buttons.
icon() {
  local file=$1 kind=$2
  case $kind in
    exit)
      panel 40 40 '#e5483d' '#b3231a' '#ffd0cc' 8 2 "$work/panel.png"
      "$convert" "$work/panel.png" -stroke white -strokewidth 5 \
        -draw "$round_ends line 13,13 27,27" -draw "$round_ends line 27,13 13,27" "${image_out[@]}" "$file" ;;
    back)
      panel 40 40 '#e5483d' '#b3231a' '#ffd0cc' 8 2 "$work/panel.png"
      "$convert" "$work/panel.png" -font "$font_symbols" -pointsize 36 -fill white \
        -gravity center -annotate +0+1 '↩' "${image_out[@]}" "$file" ;;
    info)
      panel 40 40 "$panel_top" "$panel_bottom" "$frame_rest" 8 2 "$work/panel.png"
      "$convert" "$work/panel.png" -stroke none -fill white \
        -draw "circle 20,12 22,13" -draw "roundrectangle 17,17 23,30 1,1" \
        -draw "rectangle 15,17 20,19" -draw "rectangle 15,28 25,30" \
        "${image_out[@]}" "$file" ;;
    save)
      panel 40 40 "$panel_top" "$panel_bottom" "$frame_rest" 8 2 "$work/panel.png"
      "$convert" "$work/panel.png" -stroke none -fill white \
        -draw "polygon 10,9 27,9 31,13 31,31 10,31" \
        -fill "$panel_bottom" -draw "rectangle 14,10 25,17" \
        -fill white -draw "rectangle 22,11 24,16" \
        -fill "$panel_bottom" -draw "rectangle 13,21 28,31" \
        "${image_out[@]}" "$file" ;;
    right)
      panel 40 40 '#3aa552' '#1e7434' '#d3f0d9' 8 2 "$work/panel.png"
      "$convert" "$work/panel.png" -fill none -stroke white -strokewidth 5 \
        -draw "$round_ends polyline 11,21 18,28 30,13" "${image_out[@]}" "$file" ;;
    wrong)
      panel 40 40 "$panel_top" "$panel_bottom" "$signal_red" 8 2 "$work/panel.png"
      "$convert" "$work/panel.png" -stroke "$signal_red" -strokewidth 5 \
        -draw "$round_ends line 13,13 27,27" -draw "$round_ends line 27,13 13,27" "${image_out[@]}" "$file" ;;
  esac
}

# Screen background: a calm gradient over the upper part, a flat band along
# the bottom (where the large buttons sit), soft wave lines as ornament and,
# where given, a title with a subtitle line under a thin accent rule.
background_base() {
  local file=$1
  "$convert" -size 800x430 gradient:"$navy_top-$navy_bottom" \
    -size 800x170 xc:"$navy_bottom" -append \
    \( -size 800x600 xc:none -fill none -stroke '#ffffff14' -strokewidth 2 \
       -draw "path 'M 0,330 C 200,270 300,390 500,330 S 700,270 800,310'" \
       -draw "path 'M 0,350 C 220,300 320,410 520,350 S 720,300 800,335'" \
       -draw "path 'M 0,370 C 240,330 340,430 540,370 S 740,330 800,360'" \) \
    -compose over -composite \
    -fill none -stroke '#ffffff1f' -strokewidth 1 -draw "line 40,412 760,412" \
    "$file"
}

screen() {
  local file=$1 text=$2 title=${2%%;*} subtitle=""
  [[ $text == *";"* ]] && subtitle=${text#*;}
  background_base "$work/bg.png"
  local draw=("$work/bg.png")
  if [ -n "$title" ]; then
    draw+=(-font "$font_bold" -pointsize 34 -fill "$title_ink" -gravity north
      -annotate +0+30 "$title"
      -stroke none -fill "$accent" -draw "rectangle 370,76 430,78")
  fi
  [ -n "$subtitle" ] &&
    draw+=(-font "$font_regular" -pointsize 22 -fill "$subtitle_ink" -gravity north
      -annotate +0+82 "$subtitle")
  "$convert" "${draw[@]}" "${jpeg_out[@]}" "$file"
}

# Points of a sine wave: start x, middle y, length, amplitude, periods.
sine_wave() {
  awk -v x0="$1" -v y0="$2" -v len="$3" -v amp="$4" -v periods="$5" 'BEGIN {
    for (x = 0; x <= len; x += 2)
      printf "%d,%.1f ", x0 + x, y0 - amp * sin(6.283185307 * periods * x / len)
  }'
}

# The program's word mark (the first line of the text) with a soft sound wave
# beneath and the other lines under it.
wordmark() {
  local file=$1 text=$2 size=$3 sub_size=$4 y=$5
  background_base "$work/bg.png"
  "$convert" "$work/bg.png" -font "$font_bold" -pointsize "$size" \
    -fill "$title_ink" -gravity north -annotate "+0+$y" "${text%%;*}" \
    -fill none -stroke "$accent" -strokewidth 4 \
    -draw "$round_ends polyline $(sine_wave 296 $((y + size + 10)) 208 8 2)" \
    -stroke none -font "$font_regular" -pointsize "$sub_size" -fill "$subtitle_ink" \
    -interline-spacing 4 -annotate "+0+$((y + size + 40))" "$(lines "${text#*;}")" \
    "${jpeg_out[@]}" "$file"
}

# Logos of the report page: the test logo in colour, the publisher's line in
# greys, both on white paper.
test_logo() {
  local file=$1 w=$2 h=$3 text=$4
  "$convert" -size "${w}x${h}" xc:white \
    -fill "$panel_bottom" -stroke none -draw "roundrectangle 40,40 $((w - 41)),$((h - 41)) 60,60" \
    -font "$font_bold" -pointsize 300 -fill white -gravity north -annotate +0+90 "${text%%;*}" \
    -fill none -stroke "$accent" -strokewidth 14 \
    -draw "$round_ends polyline $(sine_wave $((w / 2 - 260)) 470 520 24 2)" \
    -stroke none -font "$font_regular" -pointsize 64 -fill '#dbe5ef' \
    -annotate +0+540 "${text#*;}" "${jpeg_out[@]}" "$file"
}

publisher_logo() {
  local file=$1 w=$2 h=$3 text=$4
  "$convert" -size "${w}x${h}" xc:white \
    -fill '#5a5a5a' -draw "rectangle 0,$((h * 3 / 4)) $((w - 1)),$((h * 3 / 4 + h / 30))" \
    -font "$font_bold" -pointsize $((h * 2 / 5)) -fill '#3c3c3c' -gravity center \
    -annotate "+0-$((h / 8))" "$text" "${jpeg_out[@]}" "$file"
}

toolbar() {
  "$convert" -size 800x68 gradient:"$navy_top-$navy_bottom" \
    -size 800x2 xc:"$accent" -append "${jpeg_out[@]}" "$1"
}

choicetext() {
  panel 443 190 '#234a6f' '#15304a' '#6f8aa5' 18 2 "$work/panel.png"
  "$convert" "$work/panel.png" -font "$font_bold" -pointsize 34 -fill "$title_ink" \
    -interline-spacing 6 -gravity center -annotate +0+0 "$(lines "$1")" \
    "${image_out[@]}" "$2"
}

# The save notice. Its shape is drawn without smoothing so that no pixel mixes
# panel and aqua: those would show as a cyan fringe around the panel.
notice() {
  "$convert" -size 340x160 xc:aqua +antialias -fill '#4a5f8a' -stroke '#dfe6f2' \
    -strokewidth 3 -draw "roundrectangle 3,3 336,156 26,26" -antialias \
    -stroke none -font "$font_bold" -pointsize 34 -fill white -gravity center \
    -annotate +0+0 "$1" "${image_out[@]}" "$2"
}

# --- Sounds -------------------------------------------------------------------

# Fixed output format; -R keeps sox free of random seeds and timestamps, -D
# leaves out dither noise.
sox_out=(-r 22050 -c 1 -b 16 -e signed-integer)

click() {
  sox -R -D -n "${sox_out[@]}" "$1" synth 0.06 sine 1500 sine 3100 remix 1,2 \
    fade q 0.002 0.06 0.055 gain -n -9
}

chime() {
  sox -R -D -n "${sox_out[@]}" "$work/tone1.wav" synth 0.2 sine 880 fade q 0.005 0.2 0.17
  sox -R -D -n "${sox_out[@]}" "$work/tone2.wav" synth 0.2 sine 1318.5 fade q 0.005 0.2 0.19
  sox -R -D "$work/tone1.wav" "$work/tone2.wav" "${sox_out[@]}" "$1" gain -n -4
}

beep() {
  sox -R -D -n "${sox_out[@]}" "$1" synth 0.15 sine 1000 fade q 0.005 0.15 0.02 gain -n -6
}

# Spoken Dutch at a moderate speed; silence at either end trimmed and
# replaced by 40 ms, peak at -1 dBFS.
speech() {
  espeak-ng -v nl -s 135 -w "$work/speech.wav" -- "$2"
  sox -R -D "$work/speech.wav" "${sox_out[@]}" "$1" \
    silence 1 0.01 0.5% reverse silence 1 0.01 0.5% reverse \
    pad 0.04 0.04 gain -n -1
}

# --- Desktop icons ------------------------------------------------------------

icon_id=nl.zor.Zor
icon_sizes='16 24 32 48 64 128 256'

# The rounded panel of the test logo (inside its 40-pixel white margin),
# scaled to fit and centred on a transparent square of each size.
desktop_icons() {
  local logo=$out/Graphics/ZORlogo.jpg size dir
  rm -rf "$out/icons"
  for size in $icon_sizes; do
    dir=$out/icons/hicolor/${size}x${size}/apps
    mkdir -p "$dir"
    "$convert" "$logo" -crop 1120x640+40+40 +repage -resize "${size}x${size}" \
      -background none -gravity center -extent "${size}x${size}" \
      -strip +set date:create +set date:modify -define png:exclude-chunks=date,time \
      "PNG32:$dir/$icon_id.png"
  done
}

if [ $icons_only = 1 ]; then
  desktop_icons
  echo "Made the desktop icons in $out/icons."
  exit 0
fi

# --- Generation ---------------------------------------------------------------

rm -rf "$out/Graphics" "$out/Audio"
count=0
while IFS='|' read -r path width height recipe text; do
  case $path in '' | '#'*) continue ;; esac
  file=$out/$path
  mkdir -p "$(dirname "$file")"
  case $recipe in
    black) "$convert" -size "${width}x${height}" xc:black "${jpeg_out[@]}" "$file" ;;
    menu) wordmark "$file" "$text" 150 28 110 ;;
    splash) wordmark "$file" "$text" 190 32 120 ;;
    screen) screen "$file" "$text" ;;
    toolbar) toolbar "$file" ;;
    test-logo) test_logo "$file" "$width" "$height" "$text" ;;
    publisher-logo) publisher_logo "$file" "$width" "$height" "$text" ;;
    choicetext) choicetext "$text" "$file" ;;
    notice) notice "$text" "$file" ;;
    button-*) button "$file" "$width" "$height" "${recipe#button-}" "$text" ;;
    stopwatch-*) stopwatch "$file" "$width" "$height" "${recipe#stopwatch-}" "$text" ;;
    speaker-*) speaker "$file" "${recipe#speaker-}" ;;
    icon-*) icon "$file" "${recipe#icon-}" ;;
    click | chime | beep) "$recipe" "$file" ;;
    speech) speech "$file" "$text" ;;
    *) echo "unknown recipe '$recipe' for $path" >&2; exit 1 ;;
  esac
  if [ "$width" != - ]; then
    size=$("$convert" "$file" -format '%wx%h' info:)
    [ "$size" = "${width}x${height}" ] || { echo "$path: made $size, expected ${width}x${height}" >&2; exit 1; }
  fi
  count=$((count + 1))
done <"$manifest"
desktop_icons

echo "Made $count files in $out ($(du -sh "$out" | cut -f1))."
