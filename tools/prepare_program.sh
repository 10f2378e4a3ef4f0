#!/usr/bin/env bash
# prepare_program.sh: makes the installer as players get it from the one the build made. Called
# by the `delivery` target (cmake/delivery.cmake) before tools/make_delivery.sh, which ships
# OUTPUT; it can be run by hand the same way.
#
#   tools/prepare_program.sh PROGRAM OUTPUT OBJCOPY [CERTIFICATE [TIMESTAMP_URL]]
#
# PROGRAM        the installer as built, with its debug information
# OUTPUT         the program to ship: without debug information and symbol table, with a link
#                (.gnu_debuglink) to OUTPUT.debug, which keeps them for reading crash reports
# OBJCOPY        the objcopy for PROGRAM's system (x86_64-w64-mingw32-objcopy for Windows)
# CERTIFICATE    a PKCS#12 file (.p12) holding the code-signing certificate and its key: the
#                Windows program is then signed with Authenticode, SHA-256, by osslsigncode,
#                after stripping. The key's password is read from the environment variable
#                TLF_CODE_SIGNING_PASSWORD (set, possibly empty) and handed to osslsigncode on
#                its standard input, never on a command line, where other users could see it.
# TIMESTAMP_URL  an RFC 3161 time-stamp server: the signature is time-stamped, so that it stays
#                valid after the certificate expires; without it, none
#
# OUTPUT and OUTPUT.debug are replaced only once both are made: on any failure (a wrong password,
# a time-stamp server out of reach) the previous ones stay, and the target fails.
set -euo pipefail
if [ $# -lt 3 ] || [ $# -gt 5 ]; then
  echo "usage: $0 PROGRAM OUTPUT OBJCOPY [CERTIFICATE [TIMESTAMP_URL]]" >&2
  exit 2
fi
program=$1
output=$(realpath -m "$2")
objcopy=$3
certificate=${4:-}
timestamp_url=${5:-}
name=$(basename "$output")

fail() { echo "prepare_program: $*" >&2; exit 1; }

[ -f "$program" ] || fail "no program at $program"
if [ -n "$certificate" ]; then
  [ -f "$certificate" ] || fail "no certificate at $certificate"
  case "$name" in *.exe) ;; *) fail "only the Windows program is signed, not $name" ;; esac
  [ -n "${TLF_CODE_SIGNING_PASSWORD+set}" ] ||
    fail "TLF_CODE_SIGNING_PASSWORD is not set (the password of $certificate)"
  command -v osslsigncode >/dev/null || fail "osslsigncode is not installed"
fi

mkdir -p "$(dirname "$output")"
scratch=$(mktemp -d "$(dirname "$output")/.program.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# The link names the debug file without a folder and holds its checksum: made in the scratch
# folder under its final name.
"$objcopy" --only-keep-debug "$program" "$scratch/$name.debug"
"$objcopy" --strip-all "$program" "$scratch/stripped"
(cd "$scratch" && "$objcopy" --add-gnu-debuglink="$name.debug" stripped)

if [ -n "$certificate" ]; then
  sign=(osslsigncode sign -pkcs12 "$certificate" -readpass /dev/stdin -h sha256 -n "Tallyfield update")
  [ -z "$timestamp_url" ] || sign+=(-ts "$timestamp_url")
  # printf is a shell builtin: the password is in no process's arguments. (/dev/stdin, not
  # "-", which osslsigncode reads as standard input only from version 2.9 on.)
  printf '%s' "$TLF_CODE_SIGNING_PASSWORD" |
    "${sign[@]}" -in "$scratch/stripped" -out "$scratch/$name" >"$scratch/sign.log" 2>&1 ||
    { cat "$scratch/sign.log" >&2; fail "signing $name with $certificate failed"; }
else
  mv "$scratch/stripped" "$scratch/$name"
fi
chmod 755 "$scratch/$name"

mv "$scratch/$name.debug" "$output.debug"
mv "$scratch/$name" "$output"
echo "prepare_program: $output ($(stat -c %s "$program") bytes built, $(stat -c %s "$output") shipped$([ -z "$certificate" ] || echo ", signed")), $output.debug"
