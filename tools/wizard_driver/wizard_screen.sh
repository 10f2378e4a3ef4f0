# wizard_screen.sh: the real programs driven on an X display, sourced by the end-to-end scripts
# (tests/scripts) and tools/bench_wine_install.sh. Finds the installer's window on an X
# display (DISPLAY; wait_for from wine_env.sh), drives it with xdotool at positions worked out
# from the pages' layout, and compares its client area with the headless rendering of a page:
# equal when every byte agrees in its top five bits (the program draws 5 bits a channel).

WIZARD_WIDTH=550
WIZARD_HEIGHT=350
WIZARD_TITLE='^Tallyfield Update$'

# The loose files a build's delivery was packed from: TLF_UPDATE_FILES, else its sample update.
delivery_loose_files() {
  local loose
  loose=$(sed -n 's/^TLF_UPDATE_FILES:PATH=//p' "$1/CMakeCache.txt")
  echo "${loose:-$1/sample_update}"
}

# check_delivery DELIVERY LOOSE UNPACKED: 17 files, the package and readmes of LOOSE, and the
# unpacked archive equal to it (check, check_package and $work needed).
check_delivery() {
  local delivery=$1 loose=$2 unpacked=$3 language
  mkdir "$work/package"
  cp "$loose"/* "$delivery/update.dat" "$work/package/"
  check check_package "$work/package"
  check test "$(ls "$delivery" | wc -l)" -eq 17
  for language in eng esp fra ita nor por sve; do
    check cmp -s "$delivery/readme_$language.txt" "$loose/readme_$language.txt"
  done
  check diff -r "$delivery" "$unpacked/tallyfield_update"
}

# The height of a .fnt font: its first 32-bit little-endian integer.
font_height() { od -An -t d4 -N 4 --endian=little "$1" | tr -d ' '; }

# wizard_layout FONT_FOLDER: sets the positions the scripts click at (client pixels).
wizard_layout() {
  local fonts=$1 font2 font5 header panel_height
  font2=$(font_height "$fonts/arial_14.fnt")
  font5=$(font_height "$fonts/trade_cond_24_bold.fnt")
  header=$((font5 + font2))
  PANEL_X=$(((WIZARD_WIDTH - 2 * WIZARD_WIDTH / 3) / 2))
  PANEL_WIDTH=$((2 * WIZARD_WIDTH / 3))
  panel_height=$((2 * (WIZARD_HEIGHT - header) / 3))
  PANEL_Y=$(((WIZARD_HEIGHT - panel_height) / 2))
  panel_height=$((panel_height + 10))
  # Command Buttons, 80 x 20: left (Back, Yes on the quick-start page) and right (Next, Finish).
  LEFT_X=$((PANEL_X + PANEL_WIDTH - 180))
  RIGHT_X=$((PANEL_X + PANEL_WIDTH - 90))
  COMMAND_Y=$((PANEL_Y + panel_height - 30))
  # Seven language Buttons centred under the header on a pitch of font 2's height; English first.
  LANGUAGE_Y=$((((WIZARD_HEIGHT - header) - 7 * font2) / 2 + header - 15))
  LANGUAGE_HEIGHT=$((font2 - 2))
  # The folder field of the folder page.
  FIELD_X=$((PANEL_X + 10))
  FIELD_Y=$(((WIZARD_HEIGHT - header) / 2 + 40))
  FIELD_WIDTH=$((PANEL_WIDTH - 20))
  FIELD_HEIGHT=25
}

# find_wizard_window SECONDS: waits for the installer's window, then locates its client area.
find_wizard_window() {
  wait_for "$1" xdotool search --onlyvisible --name "$WIZARD_TITLE" || return 1
  WIZARD_WINDOW=$(xdotool search --onlyvisible --name "$WIZARD_TITLE" | head -n 1)
  locate_client
}

# locate_client: sets CLIENT_X and CLIENT_Y, the client area's screen position, afresh each time
# (a window may still move after it is shown); a frame's sides and bottom are equally thick.
locate_client() {
  local geometry x y width height border
  geometry=$(xwininfo -id "$WIZARD_WINDOW" 2>/dev/null | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
                                                     /^ *Width:/ {w=$NF} /^ *Height:/ {h=$NF} END {print x, y, w, h}')
  read -r x y width height <<<"$geometry"
  if [ -z "$height" ] || [ "$width" -lt $WIZARD_WIDTH ] || [ "$height" -lt $WIZARD_HEIGHT ]; then
    echo "the window is ${width:-?}x${height:-?}, smaller than the client area" >&2
    return 1
  fi
  border=$(((width - WIZARD_WIDTH) / 2))
  CLIENT_X=$((x + border))
  CLIENT_Y=$((y + height - WIZARD_HEIGHT - border))
}

# no_window: tells what was on the display and what the program wrote to PROGRAM_LOG.
no_window() {
  echo "no installer window; the windows on the display:" >&2
  xwininfo -root -tree 2>&1 | grep '"' >&2 || true
  if [ -s "${PROGRAM_LOG:-}" ]; then sed 's/^/program: /' "$PROGRAM_LOG" >&2; fi
}

# Byte maps for tr: every byte to itself with its three low bits cleared.
WIZARD_ALL_BYTES=$(for v in $(seq 0 255); do printf '\\%03o' "$v"; done)
WIZARD_TOP_BITS=$(for v in $(seq 0 255); do printf '\\%03o' $((v & 248)); done)
top_five_bits() { LC_ALL=C tr "$WIZARD_ALL_BYTES" "$WIZARD_TOP_BITS"; }

# capture_region X Y WIDTH HEIGHT: raw 8-bit RGB of a rectangle of the client area on stdout.
capture_region() {
  import -window root -crop "$3x$4+$((CLIENT_X + $1))+$((CLIENT_Y + $2))" +repage -depth 8 rgb:-
}

# The caller's SCREEN_FOLDER holds captures, REFERENCE_FOLDER the headless pages; pages that did
# not match are kept in PARITY_FAILURES.
PARITY_FAILURES=""

# wait_for_page NAME SECONDS: polls the client area until it equals NAME.png; on time-out keeps
# both pictures and tells how many bytes differ.
wait_for_page() {
  local name=$1 seconds=$2 deadline reference
  reference="$SCREEN_FOLDER/$name.reference"
  convert "$REFERENCE_FOLDER/$name.png" -depth 8 rgb:- | top_five_bits >"$reference"
  # An unreadable reference must not match an empty capture.
  if [ "$(stat -c %s "$reference")" -ne $((WIZARD_WIDTH * WIZARD_HEIGHT * 3)) ]; then
    echo "page $name: no ${WIZARD_WIDTH}x${WIZARD_HEIGHT} reference picture in $REFERENCE_FOLDER" >&2
    return 1
  fi
  deadline=$(($(date +%s) + seconds))
  while :; do
    locate_client 2>/dev/null || true
    capture_region 0 0 $WIZARD_WIDTH $WIZARD_HEIGHT >"$SCREEN_FOLDER/screen.rgb" 2>/dev/null || true
    top_five_bits <"$SCREEN_FOLDER/screen.rgb" >"$SCREEN_FOLDER/screen.top"
    if cmp -s "$SCREEN_FOLDER/screen.top" "$reference"; then return 0; fi
    [ "$(date +%s)" -lt "$deadline" ] || break
    sleep 0.1
  done
  [ -n "$PARITY_FAILURES" ] || PARITY_FAILURES=$(mktemp -d /tmp/tlf-parity-failures.XXXXXX)
  convert -size ${WIZARD_WIDTH}x${WIZARD_HEIGHT} -depth 8 "rgb:$SCREEN_FOLDER/screen.rgb" "$PARITY_FAILURES/$name.screen.png" 2>/dev/null || true
  cp "$REFERENCE_FOLDER/$name.png" "$PARITY_FAILURES/$name.reference.png"
  echo "page $name: not on the screen after ${seconds}s;" \
    "$(cmp -l "$SCREEN_FOLDER/screen.top" "$reference" 2>/dev/null | wc -l) bytes differ (pictures in $PARITY_FAILURES)" >&2
  return 1
}

# region_differs_from FILE X Y WIDTH HEIGHT: true once the region no longer equals FILE.
region_differs_from() {
  ! cmp -s "$1" <(capture_region "$2" "$3" "$4" "$5")
}

# point_at X Y WIDTH HEIGHT: the pointer to the centre of that rectangle (client pixels).
point_at() {
  locate_client || return 1
  xdotool mousemove $((CLIENT_X + $1 + $3 / 2)) $((CLIENT_Y + $2 + $4 / 2))
}

# click_button X Y WIDTH HEIGHT: one plain click at the centre of the Button at that rectangle,
# press and release sent together, as a tap or an automation tool sends them.
click_button() {
  point_at "$@" || return 1
  xdotool click 1
}

# hold_button X Y WIDTH HEIGHT: a slow click: the button stays down until the Button is drawn
# pressed, then comes up.
hold_button() {
  local before="$SCREEN_FOLDER/button.rgb" result=0
  capture_region "$@" >"$before"
  point_at "$@" || return 1
  xdotool mousedown 1
  wait_for 15 region_differs_from "$before" "$@" || { echo "the Button at $1,$2 was not drawn pressed" >&2; result=1; }
  xdotool mouseup 1
  return $result
}

# The caller starts the program in the background and keeps its process id in program_pid; the
# checks count into passed and failed.
program_pid=""
program_status=""

# stop_program: ends the program, if it still runs, by its process id.
stop_program() {
  if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null || true; wait "$program_pid" 2>/dev/null || true; fi
  program_pid=""
}

# wait_program_end SECONDS: waits for the program to end and sets program_status to its exit
# code; a program still running after SECONDS is ended and counts as 255.
wait_program_end() {
  program_status=255
  [ -n "$program_pid" ] || return 0
  if ! wait_for "$1" bash -c "! kill -0 $program_pid 2>/dev/null"; then
    echo "the program did not end" >&2
    stop_program
    return 0
  fi
  program_status=0
  wait "$program_pid" || program_status=$?
  program_pid=""
}

# drive RUN: runs the function RUN that drives the program, then waits for the program to end;
# a run that failed half-way ends the program at once.
drive() {
  if "$1"; then
    passed=$((passed + 1))
    wait_program_end 60
  else
    echo "FAILED: $1" >&2
    failed=$((failed + 1))
    stop_program
    program_status=255
  fi
}

# The folder below the game folder where a packed file goes ("" for the game folder itself).
entry_folder() {
  case "$1" in
    tlf.exe | changes.txt | readme.txt) echo "" ;;
    pics.cfg) echo "pictures/" ;;
    *) echo "data/" ;;
  esac
}

# make_old_game FOLDER: an installed game before the update: old versions of some files, a few
# of them read-only, "tlf.exe", "tlf.icd", quick-start files and a file in "qstart" that is not
# one.
make_old_game() {
  local game=$1 name
  mkdir -p "$game/data" "$game/pictures" "$game/qstart"
  for name in tlf.exe changes.txt readme.txt pics.cfg city.dat club.dat eng.lng fancluburls.txt; do
    printf 'old %s of the installed game\n' "$name" >"$game/$(entry_folder "$name")$name"
  done
  printf 'cached index of the old data\n' >"$game/tlf.icd"
  printf 'old quick start\n' >"$game/qstart/league.qst"
  printf 'old quick start\n' >"$game/qstart/cup.qst"
  printf 'not a quick start\n' >"$game/qstart/notes.txt"
  chmod a-w "$game/tlf.exe" "$game/data/club.dat" "$game/readme.txt" "$game/tlf.icd" "$game/qstart/cup.qst"
}

# snapshot FOLDER: every entry's name, type, size, mode and contents, to tell a folder unchanged.
snapshot() {
  (cd "$1" && find . -printf '%p %y %s %m\n' | sort && find . -type f -exec md5sum {} + | sort)
}

# check_installed LOOSE GAME [FIRST]: the packed files from position FIRST (0 when not given) of
# the package order are in GAME, each equal to its loose file.
check_installed() {
  local loose=$1 game=$2 first=${3:-0} i name bad=0
  for ((i = first; i < ${#PACKAGE_FILES[@]}; i++)); do
    name=${PACKAGE_FILES[i]}
    if ! cmp -s "$loose/$name" "$game/$(entry_folder "$name")$name"; then
      echo "$game/$(entry_folder "$name")$name differs from $loose/$name" >&2
      bad=1
    fi
  done
  return $bad
}
