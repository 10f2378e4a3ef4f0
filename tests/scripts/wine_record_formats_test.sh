#!/usr/bin/env bash
# The Linux record file in the registry editor's own format: a record exported by `wine regedit /e`
# (UTF-16 with its mark, CR LF) is read by the Linux program as it is, the game at its Location
# (non-ASCII letters, reached through Wine's drive Z:, which is "/") is updated, and the file the
# program rewrote imports back into the registry unchanged but for the new version.
#   tests/scripts/wine_record_formats_test.sh WINDOWS_BUILD LINUX_BUILD   (in wine_env.sh's prefix)
set -euo pipefail
export LC_ALL=C.UTF-8  # Wine turns the non-ASCII arguments below into UTF-16 by the locale
source "$(dirname "$0")/delivered_program.sh" rec "$2"
# The key in the view regedit exports (the 64-bit one), so that its section names the key as the
# Linux program looks for it.
key='HKEY_LOCAL_MACHINE\Software\Quillbrook Ltd\Tallyfield'
new_version='Version 3.04e (ENG,ESP,FRA,ITA,NOR,POR,SVE)'
game="$work/Gra Łódź Ωμέγα Москва"
windows() { echo "Z:${1//\//\\}"; }
export_record() { wine regedit /e "$(windows "$1")" "$key" >/dev/null 2>&1; }
version() { wine reg query "$key" /v Version 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p'; }

make_old_game "$game"
wine reg delete "$key" /f >/dev/null 2>&1 || true
wine reg add "$key" /v Location /t REG_SZ /d "$(windows "$game")" /f >/dev/null 2>&1
wine reg add "$key" /v Version /t REG_SZ /d 'Version 3.02 (ENG)' /f >/dev/null 2>&1
check export_record "$work/record.reg"
check test "$(head -c 2 "$work/record.reg" | od -An -tx1 | tr -d ' ')" = fffe

# The Linux program, unattended, with that export as its record.
status=0
(cd "$linux/delivery/tallyfield_update" && env -u DISPLAY TLF_REGISTRY="$work/record.reg" timeout 120 ./tlfupdate /VERYSILENT) \
  >"$work/out" 2>&1 || status=$?
[ "$status" -eq 0 ] || cat "$work/out" >&2
check test "$status" -eq 0
check check_installed "$(delivery_loose_files "$linux")" "$game"

# Imported into an emptied key, it gives the new version, and an export equal to it byte for byte.
wine reg delete "$key" /f >/dev/null 2>&1
check wine regedit /s "$(windows "$work/record.reg")"
check test "$(version)" = "$new_version"
check export_record "$work/again.reg"
check cmp "$work/record.reg" "$work/again.reg"
report_checks "record formats under Wine"
