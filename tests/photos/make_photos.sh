#!/usr/bin/env bash
# Makes photographs of pages the way a phone gives them, from text known in
# advance: NAME.jpg beside NAME.txt (the text, one line a line) and
# NAME.lang (the Tesseract language to read it in), in OUT_DIR.
#
#   make_photos.sh OUT_DIR tests   the set the tests read: about 4 MP each,
#                                  every 5 degrees of tilt within +-45,
#                                  turned 90/180/270, EXIF orientation,
#                                  shadow, a receipt, no text; and a 12 MP
#                                  and a 48 MP photo
#   make_photos.sh OUT_DIR bench   12 MP and 48 MP photos for the benchmark
#   make_photos.sh OUT_DIR NAME... only the named photos of either set
#
# Every photo has the page on a darker surface, a light falling off towards
# the corners, a slight perspective, sensor noise, a mild blur and JPEG
# compression; some add a band of shadow. The noise is seeded, so the same
# ImageMagick writes the same files. Needs ImageMagick 6 (Debian's convert)
# and the DejaVu fonts.
set -euo pipefail

if [ $# -lt 2 ]; then
  sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//' >&2
  exit 2
fi
out=$1
shift
mkdir -p "$out"
convert=/usr/bin/convert

english=(
  "The harbour office opens at seven every morning."
  "Fishing boats report their catch before noon."
  "Fuel costs 1.85 per litre until the end of May."
  "Please keep the quay clear for the evening ferry."
  "Visitors may park behind the old customs house."
  "Lost keys can be collected at the front desk."
)
french=(
  "Le marché ouvre ses portes à huit heures."
  "Les légumes frais arrivent chaque matin."
  "Prix du pain : 1,20 euro la baguette."
  "Merci de garder vos sacs près de vous."
  "Fermeture exceptionnelle le jeudi 14 août."
  "Où se trouve la gare ? Tout droit, à gauche."
)
receipt=(
  "CAFE DU PORT"
  "2 Espresso 4.40"
  "1 Croissant 1.90"
  "1 Orange juice 3.50"
  "TOTAL 9.80"
  "CARD 9.80"
)

# exif_orientation VALUE: an APP1 segment holding only the EXIF orientation.
exif_orientation() {
  printf '\xff\xe1\x00\x22Exif\x00\x00MM\x00\x2a\x00\x00\x00\x08\x00\x01'
  printf '\x01\x12\x00\x03\x00\x00\x00\x01\x00'"\\x0$1"'\x00\x00\x00\x00\x00\x00'
}

# photo NAME WIDTH HEIGHT TEXT TURN TILT SHADOW EXIF QUALITY SEED
#   WIDTH x HEIGHT: the frame as a viewer shows it (portrait: WIDTH < HEIGHT);
#   TEXT: english, french, receipt or none; TURN: 0, 90, 180 or 270, the
#   page turned in the frame; TILT: degrees, clockwise; SHADOW: yes or no;
#   EXIF: 1 for none, else the orientation stored (6: the pixels are stored
#   turned a quarter anticlockwise, as a phone held upright stores them).
photo() {
  local name=$1 width=$2 height=$3 text=$4 turn=$5 tilt=$6 shadow=$7 exif=$8 quality=$9
  local seed=${10}
  # ImageMagick holds 8 bytes a pixel: a frame over 16 MP is drawn at half
  # its size and enlarged, within the memory and disk its policy allows.
  local enlarge=
  if [ $((width * height)) -gt 16000000 ]; then
    enlarge="${width}x${height}!"
    width=$((width / 2))
    height=$((height / 2))
  fi
  local lang=eng
  local lines=()
  case "$text" in
    english) lines=("${english[@]}") ;;
    french) lines=("${french[@]}"); lang=fra ;;
    receipt) lines=("${receipt[@]}") ;;
  esac
  local short=$((width < height ? width : height))
  local page_width=$((short * 60 / 100))
  local point=$((page_width / 32))
  local margin=$((point * 2))
  local leading=$((point * 17 / 10))
  local count=${#lines[@]}
  local page_height=$((margin * 2 + (count > 0 ? count : 4) * leading))
  local draw=()
  local y=$((margin + point))
  for line in "${lines[@]}"; do
    draw+=(-annotate "+$margin+$y" "$line")
    y=$((y + leading))
  done
  # Perspective: the top edge a little narrower than the bottom one, as when
  # the phone leans back.
  local inset=$((page_width / 30))
  local perspective="0,0 $inset,0  $page_width,0 $((page_width - inset)),0"
  perspective+="  0,$page_height 0,$page_height  $page_width,$page_height $page_width,$page_height"
  # Light and shadow are drawn at an eighth of the size and enlarged: smooth
  # either way, and cheap.
  local w=$((width / 8)) h=$((height / 8))
  local small="${w}x${h}"
  local shade=(-size "$small" xc:white)
  if [ "$shadow" = yes ]; then
    # A band across the middle of the page, as an arm or a phone casts.
    shade+=(-fill gray40
            -draw "polygon $((w * 40 / 100)),0 $((w * 55 / 100)),0 $((w * 65 / 100)),$h $((w * 50 / 100)),$h"
            -blur 0x3)
  fi
  "$convert" \
    \( -size "${page_width}x${page_height}" xc:'#f1ede4' -font DejaVu-Sans -pointsize "$point" \
       -fill '#222222' "${draw[@]}" \
       -virtual-pixel background -background '#5b5046' -distort Perspective "$perspective" \
       -rotate "$((turn))" -rotate "$tilt" \) \
    \( -size "${width}x${height}" xc:'#5b5046' \) +swap -gravity center -composite \
    \( -size "$small" radial-gradient:white-gray55 -resize "${width}x${height}!" \) \
    -compose Multiply -composite \
    \( "${shade[@]}" -resize "${width}x${height}!" \) -compose Multiply -composite \
    -compose Over -blur 0x0.7 -seed "$seed" -attenuate 0.35 +noise Gaussian \
    -quality "$quality" "$out/$name.tmp.jpg"
  if [ -n "$enlarge" ]; then
    "$convert" "$out/$name.tmp.jpg" -resize "$enlarge" -quality "$quality" "$out/$name.tmp.jpg"
  fi
  if [ "$exif" = 1 ]; then
    mv "$out/$name.tmp.jpg" "$out/$name.jpg"
  else
    local stored=("$out/$name.tmp.jpg")
    case "$exif" in
      3) stored+=(-rotate 180) ;;
      6) stored+=(-rotate -90) ;;
      8) stored+=(-rotate 90) ;;
    esac
    "$convert" "${stored[@]}" -quality "$quality" "$out/$name.tmp.jpg"
    { head -c 2 "$out/$name.tmp.jpg"; exif_orientation "$exif"; tail -c +3 "$out/$name.tmp.jpg"; } \
      >"$out/$name.jpg"
    rm "$out/$name.tmp.jpg"
  fi
  printf '%s\n' "${lines[@]}" | sed '/^$/d' >"$out/$name.txt"
  echo "$lang" >"$out/$name.lang"
}

# The photos of each set, one `photo` call a line, by name.
catalogue() {
  local tilt
  for tilt in $(seq -45 5 45); do
    local sign=p
    [ "$tilt" -lt 0 ] && sign=m
    echo "tilt_${sign}${tilt#-} 1800 2400 english 0 $tilt no 1 85 $((100 + tilt))"
  done
  echo "turned_90 2400 1800 english 90 3 no 1 85 1"
  echo "turned_180 1800 2400 french 180 -2 no 1 80 2"
  echo "turned_270 2400 1800 french 270 4 no 1 85 3"
  echo "exif_6_portrait 1800 2400 english 0 2 no 6 85 4"
  echo "exif_8_portrait 1800 2400 french 0 -3 no 8 90 5"
  echo "exif_3_upside_down 1800 2400 english 0 1 no 3 85 6"
  echo "shadow_band 1800 2400 french 0 6 yes 1 80 7"
  echo "receipt_angle_shadow 1800 2400 receipt 0 -14 yes 1 75 8"
  echo "no_text 1800 2400 none 0 5 yes 1 85 9"
  echo "phone_12mp_upside_down 3000 4000 french 180 -6 yes 1 85 10"
  echo "phone_48mp_exif_6 6048 8064 english 90 4 no 6 85 11"
}
bench_catalogue() {
  echo "photo_12mp 3000 4000 english 0 4 yes 1 90 21"
  echo "photo_12mp_fr_turned 4000 3000 french 90 -7 no 1 85 22"
  echo "photo_12mp_exif_6 3000 4000 french 0 -3 no 6 85 23"
  echo "photo_48mp 6048 8064 english 0 3 yes 1 85 24"
  echo "photo_50mp 6144 8192 french 0 -5 yes 6 85 25"
}

case "$1" in
  tests) selected=$(catalogue) ;;
  bench) selected=$(bench_catalogue) ;;
  *)
    selected=$( { catalogue; bench_catalogue; } | awk -v names=" $* " 'index(names, " " $1 " ")')
    ;;
esac
while read -r recipe; do
  # shellcheck disable=SC2086
  photo $recipe
done <<<"$selected"
