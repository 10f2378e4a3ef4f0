# integrity_checks.sh: sourced by the end-to-end scripts. The checksum list "SHA256SUMS" that
# pack mode writes beside "update.dat", checked with the standard tool, and a package damaged
# without changing its length. Needs check (checks.sh) and PACKAGE_FILES (package_files.sh).

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

# damage_package FOLDER [last]: flips one byte in the middle of the first entry ("tlf.exe") of
# FOLDER/update.dat, or with "last" of the last one (slot 46, "fancluburls.txt", which ends the
# file); the package keeps its length, so only its checksum list can tell.
damage_package() {
  local package=$1/update.dat slot=0 size offset byte
  [ "${2:-}" = last ] && slot=46
  size=$(od -An -t d4 -j $((slot * 4)) -N 4 --endian=little "$package" | tr -d ' ')
  offset=$((188 + size / 2))
  [ $slot -eq 0 ] || offset=$(($(stat -c %s "$package") - size + size / 2))
  byte=$(od -An -t u1 -j "$offset" -N 1 "$package" | tr -d ' ')
  printf "\\$(printf '%03o' $((byte ^ 32)))" | dd of="$package" bs=1 seek="$offset" conv=notrunc status=none
}
