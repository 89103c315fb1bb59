#!/usr/bin/env bash
# Makes screenshots and pictures with text besides pages, from text known in
# advance: for each scene NAME.png, NAME.jpg and NAME.webp (a few also
# NAME.gif and NAME.bmp) beside NAME.txt (the text, top to bottom and left to
# right within a row, one line a line) and NAME.lang (the Tesseract language
# to read it in), in OUT_DIR.
#
#   make_screens.sh OUT_DIR          the whole set
#   make_screens.sh OUT_DIR NAME...  only the named scenes
#
# The scenes:
#   ui_light_100     a light contacts window at 100 %: title, search field,
#                    section headers, names with grey details
#   ui_light_150     a light file browser window at 150 %
#   ui_light_200     a light task list window at 200 %
#   ui_dark_100      a dark mail inbox window at 100 %
#   ui_dark_150      a dark music playlist window at 150 %
#   ui_dark_200      a dark podcast list window at 200 %
#   desktop_4k       a 3840x2160 desktop at 200 %: top bar, a light editor
#                    window and a dark terminal
#   chat_light       a phone chat at 2x: grey and blue bubbles, timestamps,
#                    the message field's placeholder (also GIF and BMP)
#   chat_dark        a dark desktop chat: grey and green bubbles
#   dialog_chips     a share dialog over a dimmed app: title, body, chips
#                    with one selected, an outlined and a filled button
#                    (also GIF and BMP)
#   code_editor      a dark code editor, 14 px monospace, line numbers,
#                    Python with a docstring, dunders, brackets and strings
#   settings_fr      a French phone settings screen: labels on the left,
#                    values on the right, toggles (also GIF and BMP)
#   caption_outline  a meme caption, white with a black outline, over a busy
#                    picture (also GIF and BMP)
#   caption_shadow   a photo caption, white with a soft shadow
#   street_sign      a green street-name plate turned about 30 degrees on a
#                    pole, photographed
#   warning_sign     a yellow plate with black lettering and border, seen
#                    from its right, small in a photograph
#   whiteboard       a photographed whiteboard in marker, a glare washing
#                    out the end of one line
#   receipt_app      an in-app receipt: white card on purple, header bar
#   small_print      a help page at 100 %: a heading over dense 10 px print
#   landscape_4mp    a landscape photo without text, 4 MP
#   landscape_12mp   a landscape photo without text, 4000x3000
#
# Everything is drawn at its final size (a 200 % screen is drawn at 200 %,
# not enlarged). The noise and the fractals are seeded, so the same
# ImageMagick writes the same files. Needs ImageMagick 6 (Debian's convert)
# and the DejaVu and Liberation fonts (fonts-dejavu-core, fonts-liberation2).
set -euo pipefail

if [ $# -lt 1 ]; then
  sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//' >&2
  exit 2
fi
out=$1
shift
mkdir -p "$out"
convert=/usr/bin/convert

sans=DejaVu-Sans
sans_bold=DejaVu-Sans-Bold
lsans=Liberation-Sans
lsans_bold=Liberation-Sans-Bold
mono=DejaVu-Sans-Mono
lmono=Liberation-Mono

# The scene being drawn: its width (for right-aligned and centred text), its
# scale in percent (coordinates and sizes below are given at 100 %), the
# convert arguments drawing it and the lines of its text.
width=0
k=100
draw=()
expect=()

# px VALUE: VALUE at the scene's scale, in $px.
px() {
  px=$(($1 * k / 100))
}
# pt SIZE: a font size at the scale, tenths kept, in $pt.
pt() {
  local tenths=$(($1 * k / 10))
  pt=$((tenths / 10)).$((tenths % 10))
}

# text X Y SIZE FONT COLOUR TEXT: TEXT with its top left at X,Y.
text() {
  local x y
  px "$1"; x=$px
  px "$2"; y=$px
  pt "$3"
  draw+=(-gravity NorthWest -font "$4" -pointsize "$pt" -fill "$5" -annotate "+$x+$y" "${6//%/%%}")
}
# text_right RIGHT Y SIZE FONT COLOUR TEXT: TEXT ending at RIGHT.
text_right() {
  local x y
  px "$1"; x=$((width - px))
  px "$2"; y=$px
  pt "$3"
  draw+=(-gravity NorthEast -font "$4" -pointsize "$pt" -fill "$5" -annotate "+$x+$y" "${6//%/%%}")
}
# text_centre CENTRE Y SIZE FONT COLOUR TEXT: TEXT centred on CENTRE.
text_centre() {
  local x y
  px "$1"; x=$((px - width / 2))
  px "$2"; y=$px
  pt "$3"
  draw+=(-gravity North -font "$4" -pointsize "$pt" -fill "$5" -annotate "$(printf '%+d%+d' "$x" "$y")" "${6//%/%%}")
}
# box X0 Y0 X1 Y1 RADIUS COLOUR: a filled rectangle, corners rounded.
box() {
  local x0 y0 x1 y1 r
  px "$1"; x0=$px; px "$2"; y0=$px; px "$3"; x1=$px; px "$4"; y1=$px; px "$5"; r=$px
  draw+=(-fill "$6" -draw "roundrectangle $x0,$y0 $x1,$y1 $r,$r")
}
# frame X0 Y0 X1 Y1 RADIUS COLOUR: the outline of a rectangle, 1 px at 100 %.
frame() {
  local x0 y0 x1 y1 r
  px "$1"; x0=$px; px "$2"; y0=$px; px "$3"; x1=$px; px "$4"; y1=$px; px "$5"; r=$px
  px 100; local stroke=$((px / 100))
  draw+=(-fill none -stroke "$6" -strokewidth "$stroke" -draw "roundrectangle $x0,$y0 $x1,$y1 $r,$r"
         -stroke none)
}
# dot X Y RADIUS COLOUR: a filled circle.
dot() {
  local x y r
  px "$1"; x=$px; px "$2"; y=$px; px "$3"; r=$px
  draw+=(-fill "$4" -draw "circle $x,$y $((x + r)),$y")
}
# toggle X Y ON: a switch 40x24 at 100 %, its top left at X,Y.
toggle() {
  if [ "$3" = on ]; then
    box "$1" "$2" $(($1 + 40)) $(($2 + 24)) 12 '#34c759'
    dot $(($1 + 28)) $(($2 + 12)) 10 white
  else
    box "$1" "$2" $(($1 + 40)) $(($2 + 24)) 12 '#e3e3e8'
    dot $(($1 + 12)) $(($2 + 12)) 10 white
  fi
}
# avatar X Y RADIUS SEED: a round photo: two colours blending, no text.
avatar() {
  local hues=('#d9a066' '#7aa6c2' '#a5c27a' '#c27a9e' '#8c7ac2' '#c2b07a')
  dot "$1" "$2" "$3" "${hues[$(($4 % 6))]}"
  dot $(($1 - $3 / 4)) $(($2 - $3 / 5)) $(($3 / 2)) "${hues[$((($4 + 3) % 6))]}"
}

# measure FONT SIZE TEXT...: the widths at 100 % of each TEXT, in $widths.
measure() {
  local font=$1 size=$2
  shift 2
  pt "$size"
  local labels=() line
  for line in "$@"; do
    labels+=("label:${line//%/%%}")
  done
  widths=()
  while read -r line; do
    widths+=($((line * 100 / k)))
  done < <("$convert" -font "$font" -pointsize "$pt" "${labels[@]}" -format '%w\n' info:)
}

# write NAME LANG JPEG_QUALITY WEBP_QUALITY [gif] ARGUMENTS...: runs convert
# on ARGUMENTS, which make the scene, and writes it in every format, with
# the text of $expect.
write() {
  local name=$1 lang=$2 jpeg=$3 webp=$4
  shift 4
  local extra=()
  if [ "$1" = gif ]; then
    # GIF: 256 colours as ImageMagick picks them; BMP: 24 bits a pixel.
    extra=(\( +clone -write "$out/$name.gif" +delete \)
           \( +clone -alpha off -type TrueColor -write "BMP3:$out/$name.bmp" +delete \))
    shift
  fi
  # PNG without the time chunks ImageMagick adds, so that a second run
  # writes the same bytes.
  "$convert" "$@" -alpha off -depth 8 "${extra[@]}" \
    -quality "$jpeg" -sampling-factor 2x2 -write "$out/$name.jpg" \
    -quality "$webp" -define webp:lossless=false -write "$out/$name.webp" \
    -define png:exclude-chunk=date,time -quality 75 "$out/$name.png"
  printf '%s\n' "${expect[@]}" | sed '/^$/d' >"$out/$name.txt"
  echo "$lang" >"$out/$name.lang"
}

# begin WIDTH SCALE: a new scene, WIDTH pixels wide (at its scale).
begin() {
  width=$1
  k=$2
  draw=()
  expect=()
}

# list_window NAME THEME SCALE QUALITY ENTRY...: a window listing things;
# THEME light or dark. An ENTRY is "title|TEXT", "search|PLACEHOLDER",
# "header|TEXT", "row|PRIMARY|SECONDARY|DETAIL" or "footer|TEXT".
list_window() {
  local name=$1 theme=$2 scale=$3 quality=$4
  shift 4
  local w=720 h=520
  local bg bar title_colour primary secondary header field placeholder line font bold seed
  if [ "$theme" = light ]; then
    bg='#ffffff'; bar='#ececec'; title_colour='#1d1d1f'; primary='#1c1c1e'
    secondary='#8a8a8e'; header='#6e6e73'; field='#eeeef0'; placeholder='#a4a4aa'; line='#e5e5ea'
    font=$sans; bold=$sans_bold
  else
    bg='#1e1f22'; bar='#2b2d31'; title_colour='#f2f3f5'; primary='#ebebf0'
    secondary='#949ba4'; header='#80848e'; field='#383a40'; placeholder='#6d6f78'; line='#313338'
    font=$lsans; bold=$lsans_bold
  fi
  k=$scale; px "$w"; begin "$px" "$scale"
  local y=0 entry kind a b c
  seed=${#name}
  for entry in "$@"; do
    IFS='|' read -r kind a b c <<<"$entry"
    case "$kind" in
      title)
        box 0 0 "$w" 38 0 "$bar"
        box 0 38 "$w" 39 0 "$line"
        text_centre $((w / 2)) 11 13 "$bold" "$title_colour" "$a"
        expect+=("$a"); y=50 ;;
      search)
        box 16 "$y" $((w - 16)) $((y + 30)) 8 "$field"
        text 30 $((y + 7)) 13 "$font" "$placeholder" "$a"
        expect+=("$a"); y=$((y + 44)) ;;
      header)
        text 16 $((y + 8)) 12 "$bold" "$header" "$a"
        expect+=("$a"); y=$((y + 30)) ;;
      row)
        seed=$((seed + 1))
        avatar 38 $((y + 26)) 18 "$seed"
        text 68 $((y + 8)) 15 "$font" "$primary" "$b"
        text 68 $((y + 29)) 12 "$font" "$secondary" "$c"
        if [ -n "$a" ]; then
          text_right $((w - 16)) $((y + 10)) 12 "$font" "$secondary" "$a"
          expect+=("$b $a")
        else
          expect+=("$b")
        fi
        expect+=("$c")
        box 68 $((y + 52)) "$w" $((y + 52)) 0 "$line"
        y=$((y + 53)) ;;
      footer)
        text_centre $((w / 2)) $((h - 26)) 12 "$font" "$secondary" "$a"
        expect+=("$a") ;;
    esac
  done
  px "$h"
  write "$name" eng "$quality" 85 -size "${width}x$px" "xc:$bg" "${draw[@]}"
}

ui_light_100() {
  list_window ui_light_100 light 100 90 \
    "title|Contacts" "search|Search contacts" "header|FAVOURITES" \
    "row|Mobile|Anna Kowalski|anna.kowalski@example.org" \
    "row|Home|Ben Okafor|+44 20 7946 0321" \
    "header|RECENT" \
    "row|09:41|Chloe Martin|chloe_martin@mail.net" \
    "row|Yesterday|Daniel Weiss|Missed call, 2 min" \
    "row|Mon|Emma Lindqvist|emma.l@studio-north.se" \
    "footer|5 contacts, synced 3 minutes ago"
}
ui_light_150() {
  list_window ui_light_150 light 150 88 \
    "title|Documents" "search|Search in Documents" "header|TODAY" \
    "row|10:15|budget_2024_final.xlsx|184 KB, edited by Priya" \
    "row|08:02|Invoice-0042.pdf|1.2 MB, from billing@northwind.io" \
    "header|LAST WEEK" \
    "row|Thu|holiday_photos.zip|48.7 MB" \
    "row|Tue|notes from standup.txt|2 KB, shared with 4 people" \
    "footer|4 items, 61.3 GB available"
}
ui_light_200() {
  list_window ui_light_200 light 200 92 \
    "title|Tasks" "search|Add a task or search" "header|DUE TODAY" \
    "row|17:30|Call the dentist|Reschedule the cleaning" \
    "row|High|Send Q3 report to Marco|Attach figures_v7.pptx" \
    "header|UPCOMING" \
    "row|Sat|Water the tomatoes|Every 2 days, garden list" \
    "footer|3 open, 12 done this week"
}
ui_dark_100() {
  list_window ui_dark_100 dark 100 85 \
    "title|Inbox (12)" "search|Search mail" "header|PINNED" \
    "row|07:58|Northwind Airlines|Your booking NW4417 is confirmed" \
    "header|EARLIER" \
    "row|Jun 3|Lena Fischer|Re: slides for Thursday's review" \
    "row|Jun 2|GitLab|Pipeline #20931 passed on main" \
    "row|May 30|Tomasz Nowak|Invoice attached, due 14.06" \
    "footer|Last updated at 08:12"
}
ui_dark_150() {
  list_window ui_dark_150 dark 150 90 \
    "title|Road Trip Mix" "search|Find in playlist" "header|23 SONGS, 1 HR 27 MIN" \
    "row|3:42|Midnight City|M83, Hurry Up, We're Dreaming" \
    "row|4:05|Dog Days Are Over|Florence + The Machine" \
    "row|3:18|Electric Feel|MGMT, Oracular Spectacular" \
    "footer|Downloaded, 212 MB"
}
ui_dark_200() {
  list_window ui_dark_200 dark 200 86 \
    "title|Podcasts" "search|Search episodes" "header|NEW EPISODES" \
    "row|58 min|Why bridges sway|The Engineering Hour, ep. 112" \
    "row|1 hr 4 min|Sourdough myths|Kitchen Science, ep. 37" \
    "footer|Auto-download on Wi-Fi only"
}

# window X0 Y0 X1 Y1 THEME TITLE: a window with a title bar and its three
# buttons, on the scene.
window() {
  local x0=$1 y0=$2 x1=$3 y1=$4
  local surface bar ink
  if [ "$5" = light ]; then
    surface='#fbfbfb'; bar='#e8e8e8'; ink='#2d2d2d'
  else
    surface='#1c1c1c'; bar='#303030'; ink='#e6e6e6'
  fi
  box $((x0 + 2)) $((y0 + 4)) $((x1 + 2)) $((y1 + 6)) 10 '#00000055'
  box "$x0" "$y0" "$x1" "$y1" 10 "$surface"
  box "$x0" "$y0" "$x1" $((y0 + 34)) 10 "$bar"
  box "$x0" $((y0 + 20)) "$x1" $((y0 + 34)) 0 "$bar"
  dot $((x0 + 18)) $((y0 + 17)) 6 '#ff5f57'
  dot $((x0 + 38)) $((y0 + 17)) 6 '#febc2e'
  dot $((x0 + 58)) $((y0 + 17)) 6 '#28c840'
  text_centre $(((x0 + x1) / 2)) $((y0 + 9)) 13 "$sans" "$ink" "$6"
  expect+=("$6")
}

desktop_4k() {
  begin 3840 200
  text 14 6 13 "$sans_bold" white "Activities"
  text_centre 960 6 13 "$sans_bold" white "Tue 14 May 09:41"
  text_right 1906 6 13 "$sans" white "82%"
  expect=("Activities Tue 14 May 09:41 82%")
  window 120 70 960 540 light "meeting_notes.md - Text Editor"
  local notes=(
    "# Photo sync, weekly meeting"
    "Attendees: Alex, Priya, Marco, Lena"
    "- Upload retries now back off after 3 failures"
    "- Thumbnails for HEIC files are still slow on older phones"
    "- Priya: draft the release notes for v2.3 by Friday"
    "- Marco: check the crash report id 7f3a-21c9"
    "Next meeting: 21 May, 10:30, room Aurora"
  )
  local y=124 line
  for line in "${notes[@]}"; do
    text 144 "$y" 14 "$lsans" '#24292f' "$line"
    expect+=("$line")
    y=$((y + 30))
  done
  window 1000 580 1860 1020 dark "alex@workstation: ~/projects/photo-sync"
  local terminal=(
    "\$ git status --short"
    " M src/sync/upload_queue.py"
    "?? docs/release_notes_v2.3.md"
    "\$ python3 -m pytest -q tests/test_upload.py"
    "24 passed in 1.93s"
    "\$ du -sh cache/thumbnails"
    "412M    cache/thumbnails"
    "\$ _"
  )
  y=630
  for line in "${terminal[@]}"; do
    text 1020 "$y" 14 "$lmono" '#d0d0d0' "$line"
    expect+=("$line")
    y=$((y + 24))
  done
  # The dock: application icons, coloured squares without letters.
  local x colours=('#3d7bfd' '#f2a93b' '#35b06b' '#e2544b' '#8a63d2')
  box 640 1036 1280 1076 14 '#ffffff40'
  x=0
  for x in 0 1 2 3 4; do
    box $((820 + x * 56)) 1042 $((850 + x * 56)) 1072 8 "${colours[$x]}"
  done
  write desktop_4k eng 90 85 \
    -size 48x27 gradient:'#274b7a'-'#7ab0c9' -resize '3840x2160!' \
    \( -size 480x270 xc:none -fill '#ffffff30' -draw 'circle 375,187 450,187' \
       -fill '#0d2b4a60' -draw 'circle 75,225 162,225' -blur 0x8 -resize '3840x2160!' \) -composite \
    -fill '#16161ae6' -draw 'rectangle 0,0 3840,56' "${draw[@]}"
}

# bubbles SIDE COLOUR INK FONT SIZE PAD TIME LINE...: a chat bubble on the
# left (in) or right (out) at $y, TIME under it when not empty; leaves $y
# below it.
bubbles() {
  local side=$1 colour=$2 ink=$3 font=$4 size=$5 pad=$6 time=$7
  shift 7
  measure "$font" "$size" "$@"
  local most=0 w
  for w in "${widths[@]}"; do
    [ "$w" -gt "$most" ] && most=$w
  done
  local lead=$((size * 13 / 10))
  local x0 x1 height=$((${#@} * lead + pad * 2 - (lead - size)))
  local edge=$((width * 100 / k))
  if [ "$side" = in ]; then
    x0=$((pad + 4)); x1=$((x0 + most + pad * 2))
  else
    x1=$((edge - pad - 4)); x0=$((x1 - most - pad * 2))
  fi
  box "$x0" "$y" "$x1" $((y + height)) $((size + 2)) "$colour"
  local line ty=$((y + pad))
  for line in "$@"; do
    text $((x0 + pad)) "$ty" "$size" "$font" "$ink" "$line"
    expect+=("$line")
    ty=$((ty + lead))
  done
  y=$((y + height + 8))
  if [ -n "$time" ]; then
    if [ "$side" = in ]; then
      text $((x0 + 6)) "$y" $((size * 7 / 10)) "$font" "$stamp" "$time"
    else
      text_right $((x1 - 6)) "$y" $((size * 7 / 10)) "$font" "$stamp" "$time"
    fi
    expect+=("$time")
    y=$((y + size + 6))
  fi
  y=$((y + 6))
}

chat_light() {
  begin 750 200
  local y stamp='#a1a1a6'
  box 0 0 375 92 0 '#f7f7f8'
  box 0 92 375 92 0 '#dcdce0'
  text 10 18 13 "$sans" '#1a1a1a' "9:41"
  expect+=("9:41")
  avatar 40 66 16 3
  text 66 50 16 "$sans_bold" '#111111' "Maya Chen"
  text 66 71 12 "$sans" '#8e8e93' "online"
  expect+=("Maya Chen" "online")
  text_centre 187 108 11 "$sans" "$stamp" "Today 09:41"
  expect+=("Today 09:41")
  y=132
  bubbles in '#e9e9eb' '#111111' "$sans" 16 12 "" "Hi! Are we still on for" "lunch tomorrow?"
  bubbles out '#0a84ff' white "$sans" 16 12 "09:42" "Yes, 12:30 at Nonna's" "on King St."
  bubbles in '#e9e9eb' '#111111' "$sans" 16 12 "09:43" "Perfect. I'll book a" "table for 3 people."
  bubbles out '#0a84ff' white "$sans" 16 12 "" "Great, see you there!"
  bubbles in '#e9e9eb' '#111111' "$sans" 16 12 "09:47" "PS: parking is \$4/hr" "on Queen Street"
  box 0 600 375 667 0 '#f7f7f8'
  box 12 612 328 646 17 white
  frame 12 612 328 646 17 '#d1d1d6'
  text 26 620 16 "$sans" '#b8b8bd' "Message"
  expect+=("Message")
  dot 350 629 15 '#0a84ff'
  write chat_light eng 88 85 gif -size 750x1334 xc:white "${draw[@]}"
}

chat_dark() {
  begin 900 100
  local y stamp='#8696a0'
  box 0 0 900 56 0 '#202c33'
  avatar 32 28 18 5
  text 60 9 16 "$lsans_bold" '#e9edef' "Team Nordlys"
  text 60 31 12 "$lsans" '#8696a0' "Jonas, Ingrid, Sami, you"
  expect=("Team Nordlys" "Jonas, Ingrid, Sami, you")
  y=76
  bubbles in '#202c33' '#e9edef' "$lsans" 14 10 "Ingrid 10:02" "Did anyone see the aurora forecast for tonight?"
  bubbles in '#202c33' '#e9edef' "$lsans" 14 10 "Jonas 10:04" "KP index 6 after 22:00, clear skies in Tromso"
  bubbles out '#005c4b' '#e9edef' "$lsans" 14 10 "10:05" "I can drive, the car fits 5." "Meet at the hotel lobby at 21:30?"
  bubbles in '#202c33' '#e9edef' "$lsans" 14 10 "Sami 10:07" "Count me in. Bringing the tripod + spare batteries"
  bubbles out '#005c4b' '#e9edef' "$lsans" 14 10 "10:08" "Map: maps.example.com/aurora_spot_3"
  box 0 580 900 640 0 '#202c33'
  box 16 590 830 630 8 '#2a3942'
  text 32 600 14 "$lsans" '#7c8b95' "Type a message"
  expect+=("Type a message")
  dot 864 610 18 '#00a884'
  write chat_dark eng 86 82 -size 900x640 xc:'#0b141a' "${draw[@]}"
}

dialog_chips() {
  begin 900 100
  local y=0
  # The app behind the dialog, dimmed: grey blocks, no text.
  local behind=()
  local row
  for row in 0 1 2 3 4 5; do
    behind+=(-fill '#d8dce3' -draw "roundrectangle 40,$((90 + row * 86)) 860,$((160 + row * 86)) 10,10")
  done
  box 190 120 710 460 16 white
  text 222 148 20 "$sans_bold" '#1b1b1f' "Share \"Lisbon 2024\""
  text 222 190 14 "$sans" '#45464f' "Choose who can see the 48 photos in this album."
  text 222 212 14 "$sans" '#45464f' "People you add can also download them."
  expect=("Share \"Lisbon 2024\"" "Choose who can see the 48 photos in this album."
          "People you add can also download them.")
  local chips=("Family" "Friends" "Work" "Public link") x=222 i
  measure "$sans" 14 "${chips[@]}"
  for i in "${!chips[@]}"; do
    if [ "$i" = 0 ]; then
      box "$x" 252 $((x + widths[i] + 32)) 284 16 '#1f6feb'
      text $((x + 16)) 259 14 "$sans" white "${chips[$i]}"
    else
      frame "$x" 252 $((x + widths[i] + 32)) 284 16 '#c4c6d0'
      text $((x + 16)) 259 14 "$sans" '#44474f' "${chips[$i]}"
    fi
    x=$((x + widths[i] + 42))
  done
  expect+=("${chips[*]}")
  text 222 310 12 "$sans" '#74777f' "Link expires on 30.09.2024"
  expect+=("Link expires on 30.09.2024")
  measure "$sans_bold" 14 "Cancel" "Share"
  local cancel=${widths[0]} share=${widths[1]}
  frame $((678 - share - 48 - 12 - cancel - 48)) 396 $((678 - share - 48 - 12)) 436 20 '#1f6feb'
  text $((678 - share - 48 - 12 - cancel - 24)) 407 14 "$sans_bold" '#1f6feb' "Cancel"
  box $((678 - share - 48)) 396 678 436 20 '#1f6feb'
  text $((678 - share - 24)) 407 14 "$sans_bold" white "Share"
  expect+=("Cancel Share")
  write dialog_chips eng 90 88 gif -size 900x580 xc:'#f4f6fa' "${behind[@]}" \
    -fill '#00000073' -draw 'rectangle 0,0 900,580' "${draw[@]}"
}

# The code of the editor, one line a line.
code_lines=(
  '"""Counting helpers for the upload queue."""'
  ''
  'import os.path'
  'from typing import Dict, List'
  ''
  'DEFAULT_LIMIT = 250'
  'SKIP = [".tmp", ".part", "~lock"]'
  ''
  'class ValueCounter:'
  '    def __init__(self, name: str, limit: int = DEFAULT_LIMIT):'
  '        self.name = name'
  '        self.value_count = 0'
  '        self.seen: Dict[str, int] = {}'
  '        self._limit = limit'
  ''
  '    def add(self, path: str) -> bool:'
  '        """Count a file once; False past the limit."""'
  '        if os.path.splitext(path)[1] in SKIP:'
  '            return True'
  '        if self.value_count == self._limit:'
  '            return False'
  '        self.seen[path] = self.seen.get(path, 0) + 1'
  '        self.value_count += 1'
  '        return True'
)

# tokens: each line of standard input as "COLUMN<tab>CLASS<tab>TOKEN", the
# classes an editor colours Python with.
tokens() {
  awk -v OFS='\t' '
    BEGIN {
      split("class def return if in import from as not and or is for while True False None", words, " ")
      for (i in words) keyword[words[i]] = 1
    }
    {
      line = $0; column = 0; previous = ""
      while (length(line) > 0) {
        if (match(line, /^ +/)) { kind = "" }
        else if (match(line, /^"""[^"]*"""/) || match(line, /^"[^"]*"/)) { kind = "string" }
        else if (match(line, /^#.*/)) { kind = "comment" }
        else if (match(line, /^[A-Za-z_][A-Za-z_0-9]*/)) {
          word = substr(line, 1, RLENGTH)
          if (word in keyword) kind = "keyword"
          else if (previous == "def" || previous == "class") kind = "name"
          else if (word == "self") kind = "self"
          else if (substr(line, RLENGTH + 1, 1) == "(") kind = "call"
          else kind = "plain"
          previous = word
        }
        else if (match(line, /^[0-9]+/)) { kind = "number" }
        else { match(line, /^./); kind = "plain" }
        if (kind != "") print NR, column, kind, substr(line, 1, RLENGTH)
        column += RLENGTH
        line = substr(line, RLENGTH + 1)
      }
    }'
}

code_editor() {
  begin 900 100
  local top=46 lead=19 x0=58
  # The advance of the monospace font as FreeType hints it (whole pixels at
  # 14 px), from the widths of 1 and 101 characters.
  local hundred
  hundred=$(printf 'x%.0s' $(seq 100))
  measure "$mono" 14 "x" "x$hundred"
  local advance_hundredths=$((widths[1] - widths[0]))
  declare -A ink=([string]='#ce9178' [comment]='#6a9955' [keyword]='#c586c0' [name]='#dcdcaa'
                  [call]='#dcdcaa' [self]='#569cd6' [number]='#b5cea8' [plain]='#d4d4d4')
  box 0 0 900 34 0 '#252526'
  box 0 0 150 34 0 '#1e1e1e'
  box 0 0 150 2 0 '#0078d4'
  text 16 10 13 "$sans" '#ffffff' "counter.py"
  text 166 10 13 "$sans" '#969696' "test_counter.py"
  expect=("counter.py test_counter.py")
  local n y
  for n in "${!code_lines[@]}"; do
    y=$((top + n * lead))
    text_right 40 "$y" 14 "$mono" "$([ "$n" = 15 ] && echo '#c6c6c6' || echo '#6e7681')" "$((n + 1))"
    if [ -n "${code_lines[$n]}" ]; then
      expect+=("$((n + 1)) ${code_lines[$n]}")
    else
      expect+=("$((n + 1))")
    fi
  done
  local number column kind token
  while IFS=$'\t' read -r number column kind token; do
    text $((x0 + column * advance_hundredths / 100)) $((top + (number - 1) * lead)) 14 "$mono" \
      "${ink[$kind]}" "$token"
  done < <(printf '%s\n' "${code_lines[@]}" | tokens)
  box 0 538 900 560 0 '#007acc'
  text 10 541 12 "$sans" white "main"
  text_right 890 541 12 "$sans" white "Ln 16, Col 9  UTF-8  Python 3.11"
  expect+=("main Ln 16, Col 9 UTF-8 Python 3.11")
  write code_editor eng 92 90 -size 900x560 xc:'#1e1e1e' \
    -fill '#282828' -draw "rectangle 0,$((top + 15 * lead - 2)) 900,$((top + 16 * lead - 2))" "${draw[@]}"
}

settings_fr() {
  begin 750 200
  local y=0 entry label value
  box 0 0 375 100 0 '#f2f2f7'
  text 10 16 13 "$sans" '#1a1a1a' "14:07"
  text 16 56 28 "$sans_bold" '#000000' "Réglages"
  expect=("14:07" "Réglages")
  y=104
  for entry in "CONNEXIONS" "Wi-Fi|Maison_5G" "Bluetooth|Activé" "Mode Avion|off" \
               "Données cellulaires|Forfait 20 Go" "AFFICHAGE ET SON" "Luminosité|Automatique" \
               "Mode sombre|on" "Sonnerie|Réveil doux" "GÉNÉRAL" "Langue|Français (Canada)" \
               "Stockage|41,7 Go sur 128 Go" "Version|17.4.1"; do
    IFS='|' read -r label value <<<"$entry"
    if [ -z "$value" ]; then
      text 32 $((y + 14)) 12 "$sans" '#6d6d72' "$label"
      expect+=("$label")
      y=$((y + 38))
      continue
    fi
    box 16 "$y" 359 $((y + 43)) 0 white
    box 32 $((y + 43)) 359 $((y + 43)) 0 '#e0e0e5'
    text 32 $((y + 11)) 16 "$sans" '#000000' "$label"
    case "$value" in
      on | off) toggle 303 $((y + 10)) "$value"; expect+=("$label") ;;
      *) text_right 343 $((y + 12)) 15 "$sans" '#8a8a8e' "$value"; expect+=("$label $value") ;;
    esac
    y=$((y + 44))
  done
  write settings_fr fra 88 84 gif -size 750x1334 xc:'#f2f2f7' "${draw[@]}"
}

receipt_app() {
  begin 750 200
  box 0 0 375 104 0 '#4a1d7a'
  text 10 16 13 "$sans" white "08:53"
  text 18 58 20 "$sans_bold" white "Order details"
  text_right 357 62 14 "$sans" '#d9c6f0' "Help"
  expect=("08:53" "Order details Help")
  box 20 128 355 530 14 white
  text 40 150 18 "$lsans_bold" '#1d1d1f' "Blue Finch Coffee"
  text 40 178 12 "$lsans" '#7a7a80' "Order #A-20417, 14 Mar 2024 08:52"
  expect+=("Blue Finch Coffee" "Order #A-20417, 14 Mar 2024 08:52")
  local y=222 entry item price
  for entry in "Oat latte|4.80" "Cinnamon bun|3.60" "Sparkling water 0.5 l|2.20" \
               "Granola bowl|6.90" "Tip 10%|1.75"; do
    IFS='|' read -r item price <<<"$entry"
    text 40 "$y" 15 "$lsans" '#2c2c2e' "$item"
    text_right 335 "$y" 15 "$lsans" '#2c2c2e' "$price"
    expect+=("$item $price")
    y=$((y + 34))
  done
  box 40 $((y + 4)) 335 $((y + 5)) 0 '#e2e2e6'
  y=$((y + 20))
  text 40 "$y" 15 "$lsans" '#7a7a80' "Subtotal"
  text_right 335 "$y" 15 "$lsans" '#7a7a80' "17.50"
  text 40 $((y + 34)) 18 "$lsans_bold" '#1d1d1f' "Total"
  text_right 335 $((y + 34)) 18 "$lsans_bold" '#1d1d1f' "19.25"
  text 40 $((y + 80)) 13 "$lsans" '#7a7a80' "Paid with Visa ending 4242"
  expect+=("Subtotal 17.50" "Total 19.25" "Paid with Visa ending 4242")
  text_centre 187 552 13 "$sans" white "Questions? help@bluefinch.coffee"
  expect+=("Questions? help@bluefinch.coffee")
  box 60 590 315 632 21 white
  text_centre 187 601 15 "$sans_bold" '#4a1d7a' "Download PDF"
  expect+=("Download PDF")
  write receipt_app eng 87 86 -size 750x1334 gradient:'#2a9d9f'-'#0f5e66' "${draw[@]}"
}

# busy SEED WIDTH HEIGHT FROM TO: convert arguments making a busy picture
# in the colours between FROM and TO on the image list: fractal shapes,
# out-of-focus blobs of light, finer texture.
busy() {
  local seed=$1 w=$2 h=$3
  local sw=$((w / 8)) sh=$((h / 8))
  busy=(-seed "$seed" -size "$((w / 16))x$((h / 16))" plasma:fractal -modulate "100,0" -auto-level
        \( -size 1x256 "gradient:$5-$4" \) -clut -blur 0x1 -resize "${w}x${h}!"
        \( -size "$((w / 3))x$((h / 3))" plasma:'#777777'-'#888888' -modulate "100,0" -resize "${w}x${h}!" \)
        -compose Overlay -composite -compose Over
        \( -size "${sw}x${sh}" xc:none
           -fill '#fff1c880' -draw "circle $((sw / 5)),$((sh / 3)) $((sw / 5 + sh / 9)),$((sh / 3))"
           -fill '#ffffff50' -draw "circle $((sw * 2 / 3)),$((sh / 5)) $((sw * 2 / 3 + sh / 14)),$((sh / 5))"
           -fill '#1b263b90' -draw "ellipse $((sw * 3 / 4)),$((sh * 2 / 3)) $((sw / 6)),$((sh / 4)) 0,360"
           -fill '#2d3a2a80' -draw "polygon 0,$sh 0,$((sh * 3 / 4)) $((sw / 3)),$((sh * 2 / 3)) $((sw / 2)),$sh"
           -fill '#ffd9a060' -draw "circle $((sw * 9 / 10)),$((sh / 2)) $((sw * 9 / 10 + sh / 12)),$((sh / 2))"
           -blur "0x$((sh / 60 + 1))" -resize "${w}x${h}!" \) -composite)
}

caption_outline() {
  begin 1600 100
  local busy lines=("WHEN THE BUILD PASSES" "ON THE FIRST TRY") line y=40
  busy 41 1600 1000 "#35617f" "#d8b48a"
  for line in "${lines[@]}"; do
    draw+=(-gravity North -font "$sans_bold" -pointsize 92 -stroke black -strokewidth 10 -fill black
           -annotate "+0+$y" "$line" -stroke none -fill white -annotate "+0+$y" "$line")
    expect+=("$line")
    y=$((y + 790))
  done
  write caption_outline eng 85 80 gif "${busy[@]}" -seed 42 -attenuate 0.25 +noise Gaussian "${draw[@]}"
}

caption_shadow() {
  begin 1920 100
  local busy
  busy 43 1920 1080 "#f0a050" "#2e3f6e"
  expect=("Golden hour at Lake Bled" "June 14, 19:52")
  local words=(-gravity South -font "$lsans_bold" -pointsize 76 -annotate +0+150 "Golden hour at Lake Bled"
               -font "$lsans" -pointsize 52 -annotate +0+70 "June 14, 19:52")
  write caption_shadow eng 88 84 "${busy[@]}" -seed 44 -attenuate 0.3 +noise Gaussian \
    \( -size 1920x1080 xc:none -fill '#000000c0' "${words[@]}" -blur 0x7 -geometry +5+6 \) \
    -gravity NorthWest -composite -fill white "${words[@]}"
}

street_sign() {
  begin 2000 100
  local busy
  busy 51 2000 1500 "#6f8466" "#b7c0c9"
  expect=("Harbour St")
  # The plate seen from its left: the far edge shorter, the whole a little
  # tilted, as from the pavement across the road.
  local plate=(\( -size 1000x240 xc:none -fill '#00704a' -draw 'roundrectangle 0,0 999,239 26,26'
                  -fill none -stroke white -strokewidth 10 -draw 'roundrectangle 14,14 985,225 16,16'
                  -stroke none -fill white -font "$lsans_bold" -pointsize 150 -gravity center
                  -annotate +0+4 "Harbour St" -gravity NorthWest
                  -virtual-pixel transparent -background none
                  -distort Perspective '0,0 0,0  1000,0 800,70  0,240 0,240  1000,240 800,250'
                  +repage \))
  write street_sign eng 88 84 "${busy[@]}" \
    -fill '#6f7377' -draw 'rectangle 1265,0 1315,1500' -fill '#9a9ea3' -draw 'rectangle 1275,0 1290,1500' \
    "${plate[@]}" -geometry +520+420 -composite \
    -blur 0x1.3 -seed 52 -attenuate 0.45 +noise Gaussian
}

warning_sign() {
  begin 2400 100
  local busy
  busy 55 2400 1600 "#4e6a5a" "#c8c6b4"
  expect=("SCHOOL ZONE" "SLOW")
  # Seen from its right: the far edge, on the left, shorter.
  local plate=(\( -size 760x380 xc:none -fill '#f2c200' -draw 'roundrectangle 0,0 759,379 30,30'
                  -fill none -stroke black -strokewidth 12 -draw 'roundrectangle 18,18 741,361 20,20'
                  -stroke none -fill black -font "$lsans_bold" -pointsize 84 -gravity North
                  -annotate +0+70 "SCHOOL ZONE" -pointsize 110 -annotate +0+190 "SLOW"
                  -gravity NorthWest -virtual-pixel transparent -background none
                  -distort Perspective '0,0 0,60  760,0 640,0  0,380 0,320  760,380 640,380'
                  +repage \))
  write warning_sign eng 86 82 "${busy[@]}" "${plate[@]}" -geometry +1300+420 -composite \
    -blur 0x1.2 -seed 56 -attenuate 0.4 +noise Gaussian
}

whiteboard() {
  begin 2400 100
  local lines=("Sprint 14 goals" "1. Ship photo import v2.3" "2. Fix login timeout (ticket 881)"
               "3. Review budget with Priya" "Demo: Fri 15:00, room B-12")
  local colours=('#14286e' '#1a1a1a' '#14286e' '#1a1a1a' '#8a1c1c')
  local tilts=(-1.5 0.8 -0.6 1.2 -1)
  local i y=330
  for i in "${!lines[@]}"; do
    draw+=(\( -size 1900x200 xc:none -font "$lsans_bold" -pointsize "$([ "$i" = 0 ] && echo 110 || echo 92)"
              -fill "${colours[$i]}" -gravity West -annotate +20+0 "${lines[$i]}"
              -background none -rotate "${tilts[$i]}" \)
           -gravity NorthWest -geometry +$((300 + i * 12))+"$y" -composite)
    expect+=("${lines[$i]}")
    y=$((y + 230))
  done
  write whiteboard eng 86 82 -size 2400x1800 xc:'#4a4037' \
    -fill '#a7abb0' -draw 'rectangle 180,160 2240,1660' \
    -fill '#f6f7f4' -draw 'rectangle 220,200 2200,1620' \
    -fill '#c9ccd0' -draw 'rectangle 500,1620 1900,1660' \
    "${draw[@]}" \
    \( -size 300x300 radial-gradient:white-black -resize '1300x620!' -evaluate multiply 0.86 \
       -background black -gravity NorthWest -extent 2400x1800-850-790 \) \
    -compose Screen -composite -compose Over \
    \( -size 300x225 radial-gradient:white-gray60 -resize '2400x1800!' \) -compose Multiply -composite \
    -compose Over -blur 0x1.1 -seed 61 -attenuate 0.5 +noise Gaussian
}

# landscape NAME WIDTH HEIGHT SEED: sky and clouds, far hills, a tree line
# and fields, drawn at a quarter of the size and enlarged (a soft photo),
# then the sensor's noise; no text, nothing in rows.
landscape() {
  local name=$1 w=$2 h=$3 seed=$4
  begin "$w" 100
  local sw=$((w / 4)) sh=$((h / 4))
  # ridge BASE RISE WAVES: the outline of a range of hills, a polygon.
  ridge() {
    awk -v w="$sw" -v h="$sh" -v base="$1" -v rise="$2" -v waves="$3" -v seed="$seed" 'BEGIN {
      printf "0,%d", h
      for (x = 0; x <= 40; x++) {
        t = x / 40
        y = base - rise * (0.55 * sin(waves * t * 3.1416 + seed) + 0.3 * sin(2.7 * waves * t + 2 * seed) + 0.15 * sin(9.1 * t + seed))
        printf " %d,%d", t * w, y * h
      }
      printf " %d,%d\n", w, h
    }'
  }
  local far trees fields
  far=$(ridge 0.42 0.12 1.3)
  trees=$(ridge 0.55 0.05 3.1)
  fields=$(ridge 0.62 0.03 1.7)
  # layer FROM TO POLYGON: the polygon filled with a fractal in the colours
  # from FROM to TO.
  layer() {
    layer=(\( -size "${sw}x${sh}" plasma:fractal -modulate "100,0" -auto-level
              \( -size 1x256 "gradient:$2-$1" \) -clut
              \( -size "${sw}x${sh}" xc:black -fill white -draw "polygon $3" -blur 0x1 \)
              -alpha off -compose CopyOpacity -composite \) -compose Over -composite)
  }
  local scene=(-seed "$seed" -size 8x64 gradient:'#4f86c6'-'#dfeaf3' -resize "${sw}x${sh}!"
               \( -size "${sw}x$((sh / 2))" plasma:white-'#9fb8d4' -colorspace Gray -blur 0x4 -background none
                  -extent "${sw}x${sh}" \) -compose Soft_Light -composite -compose Over)
  layer '#6f86a0' '#b5c2d0' "$far"; scene+=("${layer[@]}")
  layer '#15291a' '#4f7134' "$trees"; scene+=("${layer[@]}")
  layer '#55802a' '#c2c466' "$fields"; scene+=("${layer[@]}")
  # Grass and leaves: a finer fractal, over all but the sky.
  scene+=(\( -size "${sw}x${sh}" plasma:'#777777'-'#888888' -modulate "100,0"
             \( -size "${sw}x${sh}" gradient:black-white -level "35%,60%" \)
             -alpha off -compose CopyOpacity -composite \) -compose Overlay -composite -compose Over)
  write "$name" eng 90 85 "${scene[@]}" -resize "${w}x${h}!" -attenuate 0.4 +noise Gaussian
}

small_print() {
  begin 720 100
  local y=52 line
  local lines=(
    "Backups run every night at two, while the computer is plugged in and idle."
    "Each backup keeps the files that changed since the one before, so the first"
    "takes longest and the others take minutes. A backup that is cut short goes"
    "on the next night where it stopped. Files larger than four gigabytes are"
    "copied in parts, and a part that fails is tried again three times."
    "To restore a file, open its folder, choose Versions and pick the day you"
    "want. Restored files keep their names; when a file of that name exists,"
    "the restored one gets the date of its backup added to its name."
    "Deleted files are kept for ninety days. After that, only the monthly"
    "backups keep them, for a year. The disk shows what is left at the bottom"
    "of this page; when it is full, the oldest monthly backups go first."
    "Backups are encrypted with your key before they leave this computer. We"
    "cannot read them, and we cannot restore them if the key is lost: write"
    "it down and keep it apart from the computer, as the setup asked you to."
    "Questions? Write to support@example.org or call 0800 555 0199 (9-17 h)."
  )
  text 16 14 18 "$sans_bold" '#111111' "How backups work"
  expect=("How backups work")
  for line in "${lines[@]}"; do
    text 16 "$y" 10 "$sans" '#222222' "$line"
    expect+=("$line")
    y=$((y + 15))
  done
  write small_print eng 90 85 -size 720x300 xc:white "${draw[@]}"
}

# Every scene, in the order of the header.
scenes=(ui_light_100 ui_light_150 ui_light_200 ui_dark_100 ui_dark_150 ui_dark_200 desktop_4k
        chat_light chat_dark dialog_chips code_editor settings_fr caption_outline caption_shadow
        street_sign warning_sign whiteboard receipt_app small_print landscape_4mp landscape_12mp)
landscape_4mp() { landscape landscape_4mp 2448 1632 7; }
landscape_12mp() { landscape landscape_12mp 4000 3000 11; }

if [ $# -eq 0 ]; then
  # The scenes side by side, one a core: ImageMagick uses a second core
  # only in some of its steps.
  printf '%s\n' "${scenes[@]}" | xargs -P "$(nproc)" -n 1 "$0" "$out"
  exit 0
fi
for name in "$@"; do
  case " ${scenes[*]} " in
    *" $name "*) "$name" ;;
    *) echo "make_screens.sh: no scene named $name" >&2; exit 2 ;;
  esac
done
