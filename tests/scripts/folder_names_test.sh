#!/usr/bin/env bash
# Game folders named in several scripts, through the real program: each is updated where it is
# named (by the command line, or by the record's "Location"), and nothing else under the games'
# folder changes: not the look-alike that a code-page conversion would reach ("Lukasz n" for
# "Łukasz ñ"), not the other games, not what a link in the game names. (A record that is no
# regular file: record_test.cpp.)
#   tests/scripts/folder_names_test.sh linux LINUX_BUILD
#   tests/scripts/folder_names_test.sh wine WINDOWS_BUILD LINUX_BUILD   (in wine_env.sh's display and prefix)
set -euo pipefail
platform=$1
# Names reach Wine and the program as UTF-8 whatever the machine's locale.
export LC_ALL=C.UTF-8
source "$(dirname "$0")/delivered_program.sh" names "${3:-$2}"
use_program "$platform" "$2" tlfnames
if [ "$platform" = wine ]; then
  names=('Łukasz ñ' 'Αθήνα' 'Игра' "O'Brien's game" 'Jögo ñ')  # Windows names hold no double quote
else
  names=('Łukasz ñ' 'Αθήνα' 'Игра' "O'Brien's \"game\"" 'Jögo ñ')
fi
# every_game_but NAME: the state of every game folder except NAME's.
every_game_but() { (cd "$games" && for g in *; do [ "$g" = "$1" ] || { echo "== $g"; snapshot "$g"; }; done); }
updated() { check_installed "$loose" "$games/$1" && test ! -e "$games/$1/tlf.icd" -a -e "$games/$1/readme.txt"; }
fresh() { rm -rf "$games/$1"; make_old_game "$games/$1"; }

fresh 'Lukasz n'; fresh 'Lukasz ñ'  # what a narrow conversion of "Łukasz ñ" reaches
# The first name both ways, the others one way each, in turn.
ways=("dir record" dir record dir record)
for i in "${!names[@]}"; do
  name=${names[$i]}
  for way in ${ways[$i]}; do
    fresh "$name"
    record_clear
    before=$(every_game_but "$name")
    if [ "$way" = dir ]; then
      check run 0 /VERYSILENT "/DIR=$(win "$name")"
    else
      record_make "$(win "$name")"
      check run 0 /VERYSILENT
    fi
    check updated "$name"
    check test "$(every_game_but "$name")" = "$before"
    check test "$(record_version)" = "Version 3.04e (ENG,ESP,FRA,ITA,NOR,POR,SVE)"
  done
done
# A folder that does not exist under its own name is refused, the look-alike untouched.
before=$(every_game_but none)
check run 2 /VERYSILENT "/DIR=$(win 'Łódź')"
check test "$(every_game_but none)" = "$before"

# Links where the update changes something lead nowhere outside the game: "data" as a link to a
# folder elsewhere is refused (exit 4) with the game as it was; a link in place of a game file is
# replaced as itself, the read-only file it names untouched.
mkdir -p "$work/outside" && echo outside >"$work/outside/file" && chmod 444 "$work/outside/file"
fresh linked && mv "$games/linked/data" "$work/outside/data" && ln -s "$work/outside/data" "$games/linked/data"
before=$(snapshot "$games/linked"; snapshot "$work/outside")
check run 4 /VERYSILENT "/DIR=$(win linked)"
check test "$(snapshot "$games/linked"; snapshot "$work/outside")" = "$before"
# Wine shows a Windows program a Unix link to a file as that file itself (no reparse point, and
# a rename moves what it names), so that row is Linux's; Windows' own links are reparse points.
if [ "$platform" = linux ]; then
  fresh linked && ln -sf "$work/outside/file" "$games/linked/data/city.dat"
  before=$(snapshot "$work/outside")
  check run 0 /VERYSILENT "/DIR=$(win linked)"
  check test "$(snapshot "$work/outside")" = "$before"
  check test ! -L "$games/linked/data/city.dat"
  check updated linked
fi
report_checks "folder names $platform"
