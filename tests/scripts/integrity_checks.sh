# integrity_checks.sh: sourced by the end-to-end scripts. The checksum list "SHA256SUMS" that
# pack mode writes beside "update.dat", checked with the standard tool. Needs check (checks.sh)
# and PACKAGE_FILES (package_files.sh).

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
