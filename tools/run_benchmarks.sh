#!/usr/bin/env bash
# Runs every benchmark of the installer side by side with what the machine can do at best, and
# writes the tables into docs/PERFORMANCE.md (with the date, the machine and the commands).
#
#   tools/run_benchmarks.sh
#   TLF_BENCH_MIB=1000      MiB added to the sample update (about 1 GiB in all)
#   TLF_BENCH_RUNS=5        runs of each whole-process figure (the median is reported)
#   TLF_BENCH_OUT=<file>    where the report goes (docs/PERFORMANCE.md)
#   TLF_BENCH_RESULTS=<file>  also keep the raw figures there (bench/baseline.txt is such a file)
#
# Builds the bench preset (Release, build/bench), makes the large files in a temporary folder
# under build/ (the file system of the tree) and removes it at the end. Before every timed copy
# all dirty pages are written out (sync, not timed), so that no run pays for an earlier one's
# writeback. Times are wall-clock (the shell's EPOCHREALTIME around the command) and processor
# time (user + system, from /usr/bin/time); peak memory is /usr/bin/time's maximum resident size.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
mib=${TLF_BENCH_MIB:-1000}
runs=${TLF_BENCH_RUNS:-5}
out=${TLF_BENCH_OUT:-$top/docs/PERFORMANCE.md}

say() { printf 'bench: %s\n' "$*" >&2; }

say "building the bench preset"
bash tools/setup.sh
# What the measurements themselves use, beyond the build's packages.
extras=()
for p in bc time python3 procps; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || extras+=("$p")
done
if [ ${#extras[@]} -gt 0 ]; then
  say "installing ${extras[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${extras[@]}" >/dev/null
fi
cmake --preset bench >/dev/null
cmake --build --preset bench -j2 --target tlfupdate make_sample_update bench_drawing bench_package tlf_bench_driver >/dev/null
bin="$top/build/bench"
driver="$bin/bench/tlf_bench_driver"

work=$(mktemp -d "$top/build/bench-run.XXXXXX")
xvfb_pid=""
program_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
results="$work/results.txt"
: >"$results"
record() { echo "$1 $2" >>"$results"; }

# timed <key> <command...>: one run; appends "<key>.wall", ".cpu" and ".rss" (KiB) to the results.
timed() {
  local key=$1
  shift
  sync
  local start=$EPOCHREALTIME
  /usr/bin/time -f '%U %S %M' -o "$work/time.txt" "$@" >"$work/last.out" 2>"$work/last.err" || {
    say "failed: $*"
    cat "$work/last.err" >&2
    exit 1
  }
  local end=$EPOCHREALTIME
  read -r user system rss <"$work/time.txt"
  record "$key.wall" "$(echo "$end - $start" | bc -l)"
  record "$key.cpu" "$(echo "$user + $system" | bc -l)"
  record "$key.rss" "$rss"
}

# ---- the sample update ---------------------------------------------------------------------
say "making a sample update with $mib MiB more in $work"
loose="$work/loose"     # the publisher's loose files: pack mode and cat read them
update="$work/update"   # the delivered update: update.dat, readmes, fonts
game="$work/game"       # extraction target (replaced on every run, as an update replaces files)
copy="$work/copy"       # cp target, laid out as the game
mkdir -p "$loose" "$update" "$game/data" "$game/pictures" "$copy/data" "$copy/pictures"
"$bin/make_sample_update" "$loose" --scale-mib "$mib" >/dev/null
cp data/fonts/*.fnt "$loose/readme_"*.txt "$update/"
"$driver" table >"$work/table.txt"
packed_files=$(cut -d' ' -f1 "$work/table.txt" | sed "s|^|$loose/|" | tr '\n' ' ')
bytes=$(cat $packed_files | wc -c)
record sample.bytes "$bytes"
record sample.entries "$(wc -l <"$work/table.txt")"
record sample.largest "$(ls -l $packed_files | awk '{print $5}' | sort -n | tail -1)"

# The same bytes by cat into one file, and by cp into the game's layout.
cat >"$work/cat_update.sh" <<EOF
cat $packed_files >"$work/catted.dat"
EOF
cat >"$work/cp_update.sh" <<EOF
for sub in / /data/ /pictures/; do
  cp \$(awk -v s="\$sub" '\$2==s{print "$loose/"\$1}' "$work/table.txt") "$copy\$sub"
done
EOF
# The same, then written through to the disk as the installer does (fsync of every file).
cat >"$work/cat_sync_update.sh" <<EOF
bash "$work/cat_update.sh" && sync "$work/catted.dat"
EOF
cat >"$work/cp_sync_update.sh" <<EOF
bash "$work/cp_update.sh" && sync "$copy"/*.* "$copy"/data/* "$copy"/pictures/*
EOF

# The installation record and the installed game the headless install updates.
export TLF_REGISTRY="$work/registry.reg"
prepare_game() {
  printf 'old game\n' >"$1/tlf.exe"
  printf 'cached index\n' >"$1/tlf.icd"
  printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Quillbrook Ltd\\Tallyfield]\n"Location"="%s"\n"Version"="Release"\n' \
    "$1" >"$TLF_REGISTRY"
}

# Warm-up: every source read once, every target made once, update.dat checked against cat.
say "warming up"
(cd "$loose" && env -u DISPLAY -u WAYLAND_DISPLAY "$bin/tlfupdate" -pack 2>/dev/null)
bash "$work/cat_update.sh"
cmp <(tail -c +189 "$loose/update.dat") "$work/catted.dat" || { say "update.dat does not hold the loose files"; exit 1; }
cp "$loose/update.dat" "$update/"
bash "$work/cp_update.sh"
(cd "$update" && "$driver" extract "$game" >/dev/null)
prepare_game "$game"

# ---- whole-process figures, interleaved runs -------------------------------------------------
# Pack mode and cat, and the two installs, change places each run: on this virtual machine a run
# that follows one which freed a gigabyte writes into pages and blocks the host must provide
# again, and a fixed order would give that cost to the same one each time.
pack_and_cat() {
  (cd "$loose" && timed pack env -u DISPLAY -u WAYLAND_DISPLAY "$bin/tlfupdate" -pack)
  timed cat bash "$work/cat_update.sh"
  timed cat_sync bash "$work/cat_sync_update.sh"
}
cat_and_pack() {
  timed cat_sync bash "$work/cat_sync_update.sh"
  timed cat bash "$work/cat_update.sh"
  (cd "$loose" && timed pack env -u DISPLAY -u WAYLAND_DISPLAY "$bin/tlfupdate" -pack)
}
install_unchecked() {
  prepare_game "$game"
  (cd "$update" && timed install "$driver" install)
  record install.frames "$(awk '/^update_frames/{print $2}' "$work/last.out")"
  record install.update "$(awk '/^update_seconds/{print $2}' "$work/last.out")"
}
# The same install with the checksum list beside the package: every entry checked as it is copied.
install_checked() {
  prepare_game "$game"
  cp "$loose/SHA256SUMS" "$update/"
  (cd "$update" && timed install_checked "$driver" install)
  rm "$update/SHA256SUMS"
}
for run in $(seq "$runs"); do
  say "run $run of $runs: pack and cat, extract, cp, install with and without the checksum list"
  if [ $((run % 2)) = 1 ]; then pack_and_cat; else cat_and_pack; fi
  (cd "$update" && timed extract "$driver" extract "$game")
  record extract.inner "$(awk '/^extract_seconds/{print $2}' "$work/last.out")"
  timed cp bash "$work/cp_update.sh"
  timed cp_sync bash "$work/cp_sync_update.sh"
  if [ $((run % 2)) = 1 ]; then install_unchecked && install_checked; else install_checked && install_unchecked; fi
done
cmp "$loose/tlf.exe" "$game/tlf.exe" && cmp "$loose/club.dat" "$game/data/club.dat" ||
  { say "the installed files differ from the loose files"; exit 1; }

say "start-up to the first presented frame, 20 runs"
for run in $(seq 20); do
  start=$EPOCHREALTIME
  shown=$(cd "$update" && "$driver" startup | awk '/^first_frame_epoch_us/{print $2}')
  record startup "$(echo "($shown - ${start/./}) / 1000" | bc -l)"
done

# ---- memory with one 1.5 GiB entry -----------------------------------------------------------
say "peak memory with one 1.5 GiB entry"
big="$work/big"
mkdir -p "$big/loose" "$big/update" "$big/game/data" "$big/game/pictures"
"$bin/make_sample_update" "$big/loose" >/dev/null
head -c $((1536 * 1024 * 1024)) /dev/zero >"$big/loose/tlf.exe"
(cd "$big/loose" && timed big_pack env -u DISPLAY -u WAYLAND_DISPLAY "$bin/tlfupdate" -pack)
mv "$big/loose/update.dat" "$big/update/"
cp data/fonts/*.fnt "$big/loose/readme_"*.txt "$big/update/"
prepare_game "$big/game"
(cd "$big/update" && timed big_install "$driver" install)
prepare_game "$game"
(cd "$update" && timed install_rss "$driver" install)
rm -rf "$big"

# ---- drawing and package benchmarks ----------------------------------------------------------
say "drawing benchmarks"
"$bin/bench/bench_drawing" --benchmark_repetitions=10 --benchmark_min_time=0.05 \
  --benchmark_report_aggregates_only=true --benchmark_out="$work/drawing.json" --benchmark_out_format=json \
  >/dev/null 2>"$work/drawing.err"
say "package benchmarks"
"$bin/bench/bench_package" --entry-mib 256 --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
  --benchmark_out="$work/package.json" --benchmark_out_format=json >/dev/null 2>"$work/package.err"

# ---- idle processor use of the SDL program under Xvfb ---------------------------------------
say "idle processor use under Xvfb, 10 s"
display=""
for n in $(seq 90 120); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=$n; break; fi
done
Xvfb ":$display" -noreset -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
prepare_game "$game"
(cd "$update" && exec env DISPLAY=":$display" SDL_VIDEODRIVER=x11 "$bin/tlfupdate") >/dev/null 2>&1 &
program_pid=$!
sleep 2  # start-up and the first paint are not part of the idle figure
ticks() { awk '{print $14 + $15}' "/proc/$program_pid/stat"; }
hz=$(getconf CLK_TCK)
before=$(ticks)
start=$EPOCHREALTIME
sleep 10
after=$(ticks)
end=$EPOCHREALTIME
record idle.percent "$(echo "100 * ($after - $before) / $hz / ($end - $start)" | bc -l)"
record idle.rss "$(awk '/^VmHWM/{print $2}' "/proc/$program_pid/status")"
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true
program_pid=""
kill "$xvfb_pid"
wait "$xvfb_pid" 2>/dev/null || true
xvfb_pid=""

# ---- the report -------------------------------------------------------------------------------
say "writing $out"
record machine.cpu "$(awk -F': ' '/^model name/{print $2; exit}' /proc/cpuinfo | tr ' ' '_')"
record machine.cores "$(nproc)"
record machine.load "$(cut -d' ' -f1-3 /proc/loadavg | tr ' ' '/')"
record machine.fs "$(df -T "$work" | awk 'NR==2{print $2}')"
record run.mib "$mib"
record run.runs "$runs"
[ -n "${TLF_BENCH_RESULTS:-}" ] && cp "$results" "$TLF_BENCH_RESULTS"
python3 "$top/tools/benchmark_report.py" "$results" "$work/drawing.json" "$work/package.json" >"$out"
say "done: $out"
