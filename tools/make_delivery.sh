#!/usr/bin/env bash
# make_delivery.sh: assembles the folder a publisher ships to players, and its archive. Called by
# the `delivery` build target (cmake/delivery.cmake); it can be run by hand the same way.
#
#   tools/make_delivery.sh PROGRAM UPDATE_FILES FONTS OUTPUT ARCHIVE [EMULATOR...]
#
# PROGRAM       the installer (tlfupdate or tlfupdate.exe)
# UPDATE_FILES  the folder of the update's loose files: the 46 files the package holds and the
#               seven language readmes (readme_eng.txt ... readme_sve.txt)
# FONTS         the folder of the seven .fnt fonts
# OUTPUT        the delivery folder to make; replaced only once the new one is complete
# ARCHIVE       the archive to make of it: *.zip or *.tar.gz; its one top folder is named
#               like OUTPUT
# EMULATOR      what runs PROGRAM on this machine (wine for the Windows program), if anything
#
# "update.dat" and its checksum list "SHA256SUMS" (a line for the package, each readme and each
# packed file; players check with `sha256sum -c --ignore-missing SHA256SUMS`) are made by the
# program's own pack mode, run without a display so that its result
# comes as the exit code and not as a message box waiting for a click. The loose files are
# copied to a scratch folder for packing: the publisher's folder is only read. On any failure
# the previous delivery folder and archive stay as they were and the scratch folder is removed.
#
# With the environment variable TLF_SIGNING_KEY (a P-256 private key in PEM; the delivery target
# passes the CMake variable of that name) the folder also holds "SHA256SUMS.sig", the signature of
# "SHA256SUMS" that a program built with TLF_PUBLISHER_KEYS requires; see "Signing the checksum
# list" below.
set -euo pipefail
if [ $# -lt 5 ]; then
  echo "usage: $0 PROGRAM UPDATE_FILES FONTS OUTPUT ARCHIVE [EMULATOR...]" >&2
  exit 2
fi
program=$(realpath "$1")
update_files=$2
fonts=$3
output=$(realpath -m "$4")
archive=$(realpath -m "$5")
shift 5
emulator=("$@")

readmes=(readme_eng.txt readme_esp.txt readme_fra.txt readme_ita.txt readme_nor.txt readme_por.txt readme_sve.txt)
font_files=(arial_narrow_10.fnt arial_narrow_11.fnt arial_14.fnt arial_16.fnt arial_18.fnt
  trade_cond_24_bold.fnt trade_cond_28_bold.fnt)

fail() { echo "make_delivery: $*" >&2; exit 1; }

[ -f "$program" ] || fail "no program at $program"
[ -d "$update_files" ] || fail "no folder of update files at $update_files"
for name in "${readmes[@]}"; do [ -f "$update_files/$name" ] || fail "$update_files has no $name"; done
for name in "${font_files[@]}"; do [ -f "$fonts/$name" ] || fail "$fonts has no $name"; done
case "$archive" in
  *.zip) command -v zip >/dev/null || fail "zip is not installed" ;;
  *.tar.gz) ;;
  *) fail "the archive must end in .zip or .tar.gz: $archive" ;;
esac

mkdir -p "$(dirname "$output")" "$(dirname "$archive")"
scratch=$(mktemp -d "$(dirname "$output")/.delivery.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# Pack in a copy of the loose files, as a publisher would in the update's folder.
mkdir "$scratch/pack"
cp -R -p "$update_files/." "$scratch/pack/"
rm -f "$scratch/pack/update.dat" "$scratch/pack/SHA256SUMS"
cp "$program" "$scratch/pack/"
name=$(basename "$program")
status=0
# Bounded, so that a hung emulator fails the build instead of stopping it.
(cd "$scratch/pack" && timeout 300 env -u DISPLAY -u WAYLAND_DISPLAY ${emulator[@]+"${emulator[@]}"} "./$name" -pack) \
  >"$scratch/pack.log" 2>&1 || status=$?
if [ "$status" -ne 0 ] || [ ! -f "$scratch/pack/update.dat" ] || [ ! -f "$scratch/pack/SHA256SUMS" ]; then
  cat "$scratch/pack.log" >&2
  fail "packing the files of $update_files failed (exit code $status)"
fi

# The folder a player runs the installer from.
top=$(basename "$output")
mkdir "$scratch/$top"
cp "$program" "$scratch/pack/update.dat" "$scratch/pack/SHA256SUMS" "$scratch/$top/"
for name in "${readmes[@]}"; do cp "$update_files/$name" "$scratch/$top/"; done
for name in "${font_files[@]}"; do cp "$fonts/$name" "$scratch/$top/"; done

# Signing the checksum list: `openssl dgst -sha256 -sign` over the exact bytes of "SHA256SUMS"
# (DER ECDSA), then checked with the key's public half as a player or the program would, so that
# a wrong or damaged key fails the delivery instead of shipping an update nobody can install.
if [ -n "${TLF_SIGNING_KEY:-}" ]; then
  [ -f "$TLF_SIGNING_KEY" ] || fail "no signing key at $TLF_SIGNING_KEY"
  command -v openssl >/dev/null || fail "openssl is not installed (needed to sign with $TLF_SIGNING_KEY)"
  openssl pkey -in "$TLF_SIGNING_KEY" -pubout -out "$scratch/signing.pub" || fail "$TLF_SIGNING_KEY is no private key"
  openssl dgst -sha256 -sign "$TLF_SIGNING_KEY" -out "$scratch/$top/SHA256SUMS.sig" "$scratch/$top/SHA256SUMS" ||
    fail "signing SHA256SUMS with $TLF_SIGNING_KEY failed"
  openssl dgst -sha256 -verify "$scratch/signing.pub" -signature "$scratch/$top/SHA256SUMS.sig" "$scratch/$top/SHA256SUMS" \
    >/dev/null || fail "the signature of SHA256SUMS does not verify with the public half of $TLF_SIGNING_KEY"
fi

case "$archive" in
  *.zip) (cd "$scratch" && zip -q -r -X "$scratch/archive.zip" "$top") ;;
  *.tar.gz) tar -C "$scratch" --owner=0 --group=0 -czf "$scratch/archive.tar.gz" "$top" ;;
esac

# Both results replace the old ones only now that both are complete.
rm -rf "$output"
mv "$scratch/$top" "$output"
mv "$scratch"/archive.* "$archive"
echo "make_delivery: $output ($(ls "$output" | wc -l) files, update.dat $(stat -c %s "$output/update.dat") bytes), $archive"
