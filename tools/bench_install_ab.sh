#!/usr/bin/env bash
# Times the whole headless install of the sample update for two builds of the benchmark driver
# side by side (runs interleaved on the same files, A first in odd runs and B first in even ones,
# since a run writes into the pages the one before it freed; every dirty page written out before
# each run), and how long build B's program takes to put a game back after a fault at the last
# entry. For checking that a change to how files are put in place does not slow the update. Never
# part of the tests.
#
#   tools/bench_install_ab.sh BUILD_A BUILD_B [RUNS]     (bench preset folders, e.g. build/bench)
#   TLF_BENCH_MIB=1000   MiB added to the sample update (about 1 GiB in all)
#   TLF_BENCH_DIR=build  where the sample, the update and the game go (/dev/shm: the program's
#                        own cost, without the disk's)
#   TLF_BENCH_A_UNCHECKED=1   build A installs without the checksum list: with the same build as
#                        A and B, the ratio is the checked install's speed against the unchecked
#
# Prints one line a run, the median of each build and their ratio (B against A: above 1 is
# faster), then the put-back: the time from the first file put back to the journal removed, from
# the system calls of B's program (strace -ttt) in an unattended run.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
a=$(realpath "${1:?usage: bench_install_ab.sh BUILD_A BUILD_B [RUNS]}")
b=$(realpath "${2:?usage: bench_install_ab.sh BUILD_A BUILD_B [RUNS]}")
runs=${3:-5}
mib=${TLF_BENCH_MIB:-1000}
work=$(mktemp -d "${TLF_BENCH_DIR:-$top/build}/bench-ab.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/loose" "$work/update" "$work/game/data" "$work/game/pictures"
"$b/make_sample_update" "$work/loose" --scale-mib "$mib" >/dev/null
(cd "$work/loose" && env -u DISPLAY -u WAYLAND_DISPLAY "$b/tlfupdate" -pack 2>/dev/null)
cp "$work/loose/update.dat" "$work/loose/SHA256SUMS" "$work/loose"/readme_*.txt "$top"/data/fonts/*.fnt "$work/update/"
export TLF_REGISTRY="$work/registry.reg"
prepare_game() {
  printf 'old game\n' >"$work/game/tlf.exe"
  printf 'cached index\n' >"$work/game/tlf.icd"
  printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Quillbrook Ltd\\Tallyfield]\n"Location"="%s"\n"Version"="Release"\n' \
    "$work/game" >"$TLF_REGISTRY"
}
# One install to warm up: afterwards every entry replaces a file, as an update does.
prepare_game
(cd "$work/update" && "$b/bench/tlf_bench_driver" install >/dev/null)

seconds() { awk '/^update_seconds/{print $2}'; }
: >"$work/a.txt"
: >"$work/b.txt"
for run in $(seq "$runs"); do
  order="a b"
  [ $((run % 2)) = 0 ] && order="b a"
  for build in $order; do
    prepare_game
    rm -f "$work/update/SHA256SUMS"
    [ "$build" = a ] && [ "${TLF_BENCH_A_UNCHECKED:-0}" = 1 ] || cp "$work/loose/SHA256SUMS" "$work/update/"
    sync
    dir=$a
    [ "$build" = b ] && dir=$b
    t=$(cd "$work/update" && "$dir/bench/tlf_bench_driver" install | seconds)
    echo "$t" >>"$work/$build.txt"
    echo "run $run $build: $t s"
  done
done
median() { sort -n "$1" | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2}'; }
ma=$(median "$work/a.txt")
mb=$(median "$work/b.txt")
echo "median A $ma s, B $mb s, speed of B against A $(echo "scale=3; $ma / $mb" | bc)"

# A fault at the last entry: one byte of its data flipped, found by the checksum list after 46
# entries are in place; the run puts the game back.
prepare_game
cp "$work/loose/SHA256SUMS" "$work/update/"
sync
size=$(stat -c %s "$work/update/update.dat")
printf '\x00' | dd of="$work/update/update.dat" bs=1 seek=$((size - 2)) conv=notrunc status=none
(cd "$work/update" && strace -f -ttt -e trace=rename,renameat,renameat2,unlink,unlinkat,rmdir -o "$work/trace.txt" \
  env -u DISPLAY -u WAYLAND_DISPLAY "$b/tlfupdate" --verysilent >/dev/null 2>&1) || echo "exit code $? (3 expected)"
# Putting back renames kept files to the game: the only renames with a kept file as their source.
awk '/kept\/[0-9]+", (AT_FDCWD, )?"/ && !start {start=$2} /unlink.*~tlfupdate\.journal"/ {end=$2}
     END {if (start && end) printf "put back: %.3f s from the first kept file renamed back to the journal removed\n", end - start
          else print "put back: not found in the trace"}' "$work/trace.txt"
