#!/usr/bin/env bash
# Signed updates through the real programs: the delivery signed with the test key of tests/keys
# (verified by openssl), installed by tlfupdate_testkey (that key built in) and by the program
# without a key, each row from a fresh copy of that delivery and a fresh game, unattended.
#   tests/scripts/signature_test.sh linux LINUX_BUILD
#   tests/scripts/signature_test.sh wine WINDOWS_BUILD LINUX_BUILD   (in wine_env.sh's display and prefix)
set -euo pipefail
platform=$1
source "$(dirname "$0")/delivered_program.sh" sig "${3:-$2}"
keys="$here/../keys"
TLF_SIGNING_KEY="$keys/publisher_test.key" bash "$here/../../tools/make_delivery.sh" "$linux/tlfupdate" "$loose" \
  "$here/../../data/fonts" "$work/signed" "$work/signed.tar.gz" >/dev/null
check openssl dgst -sha256 -verify "$keys/publisher_test.pub" -signature "$work/signed/SHA256SUMS.sig" "$work/signed/SHA256SUMS" >/dev/null
openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-256 -out "$work/other.key" 2>/dev/null
fingerprint=$(openssl pkey -pubin -in "$keys/publisher_test.pub" -outform DER | sha256sum | cut -c1-64)
sign() { openssl dgst -sha256 -sign "$1" -out SHA256SUMS.sig "${2:-SHA256SUMS}"; }

if [ "$platform" = wine ]; then
  build=$(cd "$2" && pwd) exe=.exe games="$WINEPREFIX/drive_c/tlfsig" dir='C:\tlfsig\g'
  program=(wine tlfupdate.exe)
else
  build=$linux exe= games="$work/games" dir="$work/games/g"
  export TLF_REGISTRY="$work/config/registry.reg"
  program=(./tlfupdate)
fi

# program | what is done to the signed delivery, in its folder | exit code | what the log says
rows=(
  "key|:|0|signature: \"SHA256SUMS.sig\" verified with key $fingerprint"
  "key|rm SHA256SUMS.sig|3|no \"SHA256SUMS.sig\""
  "key|sign $work/other.key|3|\"SHA256SUMS.sig\" is no signature"
  "key|echo '# added' >>SHA256SUMS|3|\"SHA256SUMS.sig\" is no signature"
  "key|sign $keys/publisher_test.key readme_eng.txt|3|\"SHA256SUMS.sig\" is no signature"
  "key|sed -i '/  club.dat/d' SHA256SUMS && sign $keys/publisher_test.key|3|\"club.dat\" is not listed in the signed"
  "key|head -c 40 SHA256SUMS.sig >x && mv x SHA256SUMS.sig|3|\"SHA256SUMS.sig\" is no signature"
  "plain|rm SHA256SUMS.sig|0|signatures: not checked"
  "plain|sign $work/other.key|0|signature: \"SHA256SUMS.sig\" ignored"
)
mkdir -p "$games"
for row in "${rows[@]}"; do
  IFS="|" read -r who change want said <<<"$row"
  rm -rf "$work/upd" "$games/g" "$work/config" && cp -R "$work/signed" "$work/upd" && rm "$work/upd/tlfupdate"
  if [ "$who" = key ]; then cp "$build/tests/tlfupdate_testkey$exe" "$work/upd/tlfupdate$exe"; else cp "$build/tlfupdate$exe" "$work/upd/"; fi
  (cd "$work/upd" && eval "$change")
  make_old_game "$games/g"
  before=$(snapshot "$games/g")
  got=0
  (cd "$work/upd" && env -u DISPLAY timeout 120 "${program[@]}" /VERYSILENT "/DIR=$dir" /LOG=run.log) >/dev/null 2>"$work/err" || got=$?
  check test "$got" = "$want"
  check grep -qF "$said" "$work/upd/run.log"
  if [ "$want" = 0 ]; then check check_installed "$loose" "$games/g"; else check test "$(snapshot "$games/g")" = "$before"; fi
  [ "$failed" = 0 ] || { echo "row: $row" >&2; cat "$work/err" "$work/upd/run.log" >&2; exit 1; }
done
report_checks "signature $platform"
