# integrity_checks.sh: sourced by the end-to-end walk. Checks of the checksum list "SHA256SUMS"
# that pack mode writes beside "update.dat", with the standard tool, and of a delivered package
# with one damaged byte, refused by the real program with the game untouched.
# Needs check (checks.sh); check_damaged_delivery also needs the helpers of wizard_screen.sh and
# package_files.sh, a display, and the caller's start_program FOLDER.

# check_checksum_list FOLDER [--ignore-missing]: `sha256sum -c` accepts FOLDER/SHA256SUMS (in the
# delivery folder, where the loose files are not, with --ignore-missing), and the list names
# "update.dat", the seven readmes and every packed file, one line each.
check_checksum_list() {
  local folder=$1 ignore=${2:-} name
  check bash -c "cd '$folder' && sha256sum -c --strict --quiet $ignore SHA256SUMS"
  check test "$(wc -l <"$folder/SHA256SUMS")" -eq $((1 + 7 + ${#PACKAGE_FILES[@]}))
  for name in update.dat readme_eng.txt readme_sve.txt "${PACKAGE_FILES[@]}"; do
    grep -qE "^[0-9a-f]{64}  $name\$" "$folder/SHA256SUMS" || { check false "SHA256SUMS lists $name"; return; }
  done
}

# damage_package FOLDER: flips one byte in the middle of the first entry ("tlf.exe") of
# FOLDER/update.dat; the package keeps its length, so only its checksum list can tell.
damage_package() {
  local package=$1/update.dat size offset byte
  size=$(od -An -t d4 -N 4 --endian=little "$package" | tr -d ' ')
  offset=$((188 + size / 2))
  byte=$(od -An -t u1 -j "$offset" -N 1 "$package" | tr -d ' ')
  printf "\\$(printf '%03o' $((byte ^ 32)))" | dd of="$package" bs=1 seek="$offset" conv=notrunc status=none
}

# check_damaged_delivery DELIVERY GAME: a copy of DELIVERY with one damaged byte in "update.dat"
# (damage_package), run with start_program (the caller's, pointed at GAME by the record): English,
# Next, and the program stops on the page that names "tlf.exe" (the reference page
# damaged_entry.png of ReferencePages), Exit ends it with 0, and GAME is exactly as before.
check_damaged_delivery() {
  local delivery=$1 game=$2 damaged="$work/damaged" before
  rm -rf "$damaged"
  cp -R "$delivery" "$damaged"
  damage_package "$damaged"
  check bash -c "! (cd '$damaged' && sha256sum -c --quiet --ignore-missing SHA256SUMS >/dev/null 2>&1)"
  before=$(snapshot "$game")
  damaged_run() {
    start_program "$damaged"
    find_wizard_window 60 || { no_window; return 1; }
    wait_for_page choose_language 30 || return 1
    press_button $(((WIZARD_WIDTH - 60) / 2)) "$LANGUAGE_Y" 60 "$LANGUAGE_HEIGHT" || return 1  # English
    wait_for_page confirm_versions 30 || return 1
    xdotool key Return  # Next
    wait_for_page damaged_entry 60 || return 1
    xdotool key Return  # Exit
  }
  drive damaged_run
  check test "$program_status" -eq 0
  check test "$(snapshot "$game")" = "$before"
  check test "$(find "$game" -name '~tlf*' | wc -l)" -eq 0
}
