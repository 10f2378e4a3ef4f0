# delivered_program.sh: sourced by the end-to-end scripts that run the delivered program
# unattended on games of their own. Sources the shared helpers, makes a work folder (removed at
# the exit, with the games' folder) and builds the Linux delivery.
#   source delivered_program.sh TAG LINUX_BUILD      sets here, linux, work, loose
#   use_program PLATFORM WINDOWS_BUILD GAMES_NAME    the delivery in $work/update with the program
#       of PLATFORM, and: upd, games, program, win NAME (the game's path as the program names it),
#       record_make LOCATION, record_clear, record_version, run CODE ARGS... (exit code CODE)
here=$(cd "$(dirname "${BASH_SOURCE[1]}")" && pwd)
source "$here/package_files.sh"
source "$here/../../tools/wizard_driver/wizard_screen.sh"
source "$here/checks.sh"
linux=$(cd "$2" && pwd)
work=$(mktemp -d "/tmp/tlf-$1.XXXXXX")
trap 'rm -rf "$work" "${games:-}"' EXIT
timeout 900 cmake --build "$linux" --target delivery >"$work/build.log" 2>&1 || { cat "$work/build.log" >&2; exit 1; }
loose=$(delivery_loose_files "$linux")

key='HKLM\Software\Quillbrook Ltd\Tallyfield'
use_program() {
  upd="$work/update"
  cp -R "$linux/delivery/tallyfield_update" "$upd"
  if [ "$1" = wine ]; then
    rm "$upd/tlfupdate" && cp "$(cd "$2" && pwd)/tlfupdate.exe" "$upd/"
    games="$WINEPREFIX/drive_c/$3"
    program=(wine tlfupdate.exe)
    win() { echo "C:\\$(basename "$games")\\$1"; }
    record_clear() { wine reg delete "$key" /reg:32 /f >/dev/null 2>&1 || true; }
    record_make() { for v in "Location=$1" Version=Release; do wine reg add "$key" /v "${v%%=*}" /t REG_SZ /d "${v#*=}" /reg:32 /f >/dev/null 2>&1; done; }
    record_version() { wine reg query "$key" /v Version /reg:32 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p'; }
  else
    games="$work/games"
    export TLF_REGISTRY="$work/config/registry.reg"  # its folder is made by the first record write
    program=(./tlfupdate)
    win() { echo "$games/$1"; }
    record_clear() { rm -rf "$work/config"; }
    record_make() {  # the value escaped as the export writes it: \\ and \"
      local value=${1//\\/\\\\}
      mkdir -p "$work/config"
      printf 'REGEDIT4\n\n[%s]\n"Location"="%s"\n"Version"="Release"\n' "${key/HKLM/HKEY_LOCAL_MACHINE}" "${value//\"/\\\"}" >"$TLF_REGISTRY"
    }
    record_version() { sed -n 's/^"Version"="\(.*\)"$/\1/p' "$TLF_REGISTRY" 2>/dev/null; }
  fi
  mkdir -p "$games"
}
run() {
  local want=$1 got=0; shift
  (cd "$upd" && env -u DISPLAY timeout 120 "${program[@]}" "$@") >"$work/out" 2>"$work/err" || got=$?
  [ "$got" -eq "$want" ] || { echo "exit code $got, not $want: $*" >&2; cat "$work/err" >&2; return 1; }
}
