# package_files.sh: sourced by the end-to-end scripts. The loose files of an update in package
# order (readme.txt, which is not packed, left out), and a check of a package against them.
PACKAGE_FILES=(tlf.exe euro.cfg events_eng.cfg events_fra.cfg events_ita.cfg events_por.cfg
  events_nor.cfg events_spa.cfg events_swe.cfg pics.cfg player_setup.cfg weather.cfg city.dat club.dat
  club_comp.dat club_comp_history.dat colour.dat common_names.dat continent.dat first_names.dat index.dat
  nat_club.dat nation.dat nation_comp.dat nation_comp_history.dat officials.dat second_names.dat
  stadium.dat staff.dat staff_comp.dat staff_comp_history.dat staff_history.dat eng.lng esp.lng fra.lng
  ita.lng nor.lng por.lng swe.lng language.ldb 442_push.pct 4312_v1.pct defensive_counter.pct 424_v1.pct
  changes.txt fancluburls.txt)

# check_package FOLDER: update.dat in FOLDER holds each loose file's size in its slot (slot 44
# skipped) and, after the 188-byte header, the loose files back to back.
check_package() {
  local folder=$1 slot=0 name size got
  for name in "${PACKAGE_FILES[@]}"; do
    [ $slot -eq 44 ] && slot=45
    size=$(stat -c %s "$folder/$name")
    got=$(od -An -t d4 -j $((slot * 4)) -N 4 --endian=little "$folder/update.dat" | tr -d ' ')
    if [ "$got" != "$size" ]; then echo "slot $slot ($name) holds $got, file has $size bytes" >&2; return 1; fi
    slot=$((slot + 1))
  done
  if ! cmp -s <(tail -c +189 "$folder/update.dat") <(cd "$folder" && cat "${PACKAGE_FILES[@]}"); then
    echo "package contents differ from the loose files" >&2; return 1
  fi
}
