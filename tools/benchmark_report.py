#!/usr/bin/env python3
"""Turns the raw figures of tools/run_benchmarks.sh into docs/PERFORMANCE.md (on standard output).

    benchmark_report.py <results.txt> <drawing.json> <package.json> [baseline.txt]

results.txt holds "key value" lines (a key repeated once per run); the JSON files are Google
Benchmark output with aggregates. baseline.txt (default bench/baseline.txt beside this tree), when
present, holds the results of a run before the last optimisation, shown as "before".
"""
import datetime
import json
import os
import statistics
import sys


def load_results(path):
    values = {}
    with open(path) as f:
        for line in f:
            parts = line.split(None, 1)
            if len(parts) == 2:
                values.setdefault(parts[0], []).append(parts[1].strip())
    return values


def median(values, key):
    return statistics.median(float(v) for v in values[key])


def load_benchmarks(path):
    """Median aggregates by run name: (real ns, cpu ns, counters)."""
    with open(path) as f:
        data = json.load(f)
    rows = {}
    for b in data["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        scale = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[b.get("time_unit", "ns")]
        rows[b["run_name"]] = (b["real_time"] * scale, b["cpu_time"] * scale, b)
    return rows


def main():
    results = load_results(sys.argv[1])
    drawing = load_benchmarks(sys.argv[2])
    package = load_benchmarks(sys.argv[3])
    baseline_path = sys.argv[4] if len(sys.argv) > 4 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "bench", "baseline.txt")
    baseline = load_results(baseline_path) if os.path.exists(baseline_path) else None

    m = lambda key: median(results, key)
    gib = float(results["sample.bytes"][0]) / 2**30
    out = []
    w = out.append

    now = datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC")
    w("# Performance of the installer, measured side by side")
    w("")
    w(f"Run of {now} on {results['machine.cpu'][0].replace('_', ' ')}, {results['machine.cores'][0]} cores, "
      f"{results['machine.fs'][0]} file system, load average at the end {results['machine.load'][0].replace('/', ' ')} "
      "(the machine is shared: other builds and test programs ran at the same time, so wall-clock "
      "figures carry their noise; processor times are steadier).")
    w("")
    w("Made by one command, which builds the `bench` preset (Release) and writes this file:")
    w("")
    w("```sh")
    w(f"TLF_BENCH_MIB={results['run.mib'][0]} TLF_BENCH_RUNS={results['run.runs'][0]} tools/run_benchmarks.sh")
    w("```")
    w("")
    w(f"Sample update: `make_sample_update --scale-mib {results['run.mib'][0]}`, "
      f"{int(results['sample.entries'][0])} packed entries, {float(results['sample.bytes'][0]) / 2**20:.0f} MiB "
      f"({gib:.2f} GiB), the largest entry {float(results['sample.largest'][0]) / 2**20:.0f} MiB. "
      f"Whole-process figures are the median of {results['run.runs'][0]} interleaved runs; before each timed "
      "command every dirty page is written out (`sync`, not timed), the page cache holds the sources.")
    w("")

    # ---- goals ----
    def ratio(ours, reference):
        return reference / ours

    redraw_real = max(v[0] for k, v in drawing.items() if k.startswith("BM_RedrawRepaint") or k.startswith("BM_RedrawEnter"))
    memset_real, memset_cpu = drawing["BM_MemsetFrameBuffer"][0], drawing["BM_MemsetFrameBuffer"][1]
    startups = [float(v) for v in results["startup"]]
    goals = [
        # At equal durability: the installer flushes every file it writes, so the references are
        # `cp` and `cat` followed by `sync FILE`; the plain commands stay beside them.
        ("Extraction entry by entry vs `cp` then sync", "at least 0.95",
         f"{ratio(m('extract.wall'), m('cp_sync.wall')):.2f} (plain `cp` {ratio(m('extract.wall'), m('cp.wall')):.2f})",
         ratio(m('extract.wall'), m('cp_sync.wall')) >= 0.95),
        ("Pack mode (with its checksum list) vs `cat` then sync", "at least 0.95",
         f"{ratio(m('pack.wall'), m('cat_sync.wall')):.2f} (plain `cat` {ratio(m('pack.wall'), m('cat.wall')):.2f})",
         ratio(m('pack.wall'), m('cat_sync.wall')) >= 0.95),
        ("Whole headless installation vs `cp` then sync", "at least 0.95",
         f"{ratio(m('install.wall'), m('cp_sync.wall')):.2f} (plain `cp` {ratio(m('install.wall'), m('cp.wall')):.2f})",
         ratio(m('install.wall'), m('cp_sync.wall')) >= 0.95),
        ("Whole installation with the checksum list vs without", "at least 0.95",
         f"{ratio(m('install_checked.wall'), m('install.wall')):.2f} "
         f"(processor time {ratio(m('install_checked.cpu'), m('install.cpu')):.2f})",
         ratio(m('install_checked.wall'), m('install.wall')) >= 0.95),
        ("Slowest page `Redraw`, median", "within 1 ms", f"{redraw_real / 1e6:.3f} ms "
         f"({redraw_real / memset_real:.1f} x the memset)", redraw_real < 1e6),
        ("Start-up to the first presented frame, headless", "under 50 ms",
         f"{statistics.median(startups):.1f} ms median, {max(startups):.1f} ms slowest of {len(startups)}",
         statistics.median(startups) < 50),
        ("Peak memory, pack mode with one 1.5 GiB entry", "under 32 MiB",
         f"{float(results['big_pack.rss'][0]) / 1024:.1f} MiB", float(results['big_pack.rss'][0]) < 32 * 1024),
        ("Peak memory, whole installation (1.5 GiB entry)", "under 32 MiB",
         f"{float(results['big_install.rss'][0]) / 1024:.1f} MiB", float(results['big_install.rss'][0]) < 32 * 1024),
        ("Idle processor use, SDL program under Xvfb, 10 s", "under 5 %",
         f"{float(results['idle.percent'][0]):.2f} %", float(results['idle.percent'][0]) < 5),
    ]
    w("## Goals")
    w("")
    w("Ratios are throughput ratios: the reference's time divided by ours (1.00 is as fast as the reference).")
    w("")
    w("| goal | target | reached | met |")
    w("|---|---|---|---|")
    for name, target, reached, met in goals:
        w(f"| {name} | {target} | {reached} | {'yes' if met else '**no**'} |")
    w("")

    # ---- whole-process ----
    w("## Packing, extraction and installation against the copy")
    w("")
    w("The installer writes every file to a temporary file, flushes it to the disk (fsync) and renames it "
      "over the target, so that a failure or a power cut never leaves a half-written game file. `cp` and "
      "`cat` leave their output in the page cache; the rows \"then sync\" add the same flush to the disk "
      "(`sync FILE`, an fsync of each output file) for a comparison at equal safety.")
    w("")
    w("| what | wall median | MiB/s | processor (user + system) | peak memory | ratio to the reference (wall / processor) |")
    w("|---|---|---|---|---|---|")
    rows = [
        ("pack mode `tlfupdate -pack`", "pack", "cat"),
        ("`cat` of the loose files into one file", "cat", None),
        ("`cat`, then sync", "cat_sync", None),
        ("pack mode against `cat` then sync", "pack", "cat_sync"),
        ("extraction, `ExtractPackageEntry` entry by entry", "extract", "cp"),
        ("`cp` of the same files into the game's layout", "cp", None),
        ("`cp`, then sync", "cp_sync", None),
        ("extraction against `cp` then sync", "extract", "cp_sync"),
        ("whole headless install (process)", "install", "cp"),
        ("whole headless install against `cp` then sync", "install", "cp_sync"),
        ("whole headless install, every entry checked against SHA256SUMS", "install_checked", "install"),
    ]
    mib = float(results["sample.bytes"][0]) / 2**20
    for label, key, reference in rows:
        r = ""
        if reference:
            r = f"{ratio(m(key + '.wall'), m(reference + '.wall')):.2f} / {ratio(m(key + '.cpu'), m(reference + '.cpu')):.2f}"
        w(f"| {label} | {m(key + '.wall'):.3f} s | {mib / m(key + '.wall'):.0f} | {m(key + '.cpu'):.3f} s | "
          f"{float(m(key + '.rss')) / 1024:.1f} MiB | {r} |")
    w("")
    w(f"The install's {int(m('install.frames'))} update frames took {m('install.update'):.3f} s (median) of its "
      f"{m('install.wall'):.3f} s; extraction alone measured inside the process {m('extract.inner'):.3f} s.")
    w("")

    # ---- drawing ----
    w("## Drawing (550 x 350 frame buffer, Google Benchmark, median of 10 repetitions)")
    w("")
    w(f"Reference: `memset` of the whole frame buffer, {memset_real:.0f} ns wall, {memset_cpu:.0f} ns processor. "
      "\"repaint\" is `Redraw` of a page already built (a paint message), \"enter\" a page built anew "
      "(a change of state). ns per pixel is processor time over the pixels covered; the ratio is to the memset "
      "(processor time).")
    w("")
    w("| benchmark | page / arguments | pixels | wall median | processor median | ns per pixel | x memset |")
    w("|---|---|---|---|---|---|---|")
    for name, (real, cpu, b) in drawing.items():
        pixels = b.get("pixels", 0)
        label = b.get("label", "")
        per_pixel = f"{cpu / pixels:.2f}" if pixels else ""
        w(f"| {name.replace('BM_', '')} | {label} | {int(pixels)} | {real / 1e3:.1f} us | {cpu / 1e3:.1f} us | "
          f"{per_pixel} | {cpu / memset_cpu:.1f} |")
    w("")

    w("## Package benchmarks in-process (one 256 MiB entry, median of 3)")
    w("")
    w("| benchmark | wall median | MiB/s |")
    w("|---|---|---|")
    for name, (real, cpu, b) in package.items():
        w(f"| {name.replace('BM_', '')} | {real / 1e6:.1f} ms | {b.get('bytes_per_second', 0) / 2**20:.0f} |")
    w("")

    w("## Start-up, memory and idle")
    w("")
    w(f"- Start-up (headless driver: process start, fonts loaded, language page drawn and presented): median "
      f"{statistics.median(startups):.1f} ms, fastest {min(startups):.1f} ms, slowest {max(startups):.1f} ms of "
      f"{len(startups)} runs.")
    w(f"- Peak resident memory: pack mode with one 1.5 GiB entry {float(results['big_pack.rss'][0]) / 1024:.1f} MiB; "
      f"whole installation of that package {float(results['big_install.rss'][0]) / 1024:.1f} MiB; whole installation "
      f"of the sample update {float(results['install_rss.rss'][0]) / 1024:.1f} MiB.")
    w(f"- Idle: the SDL program on the language page under Xvfb used {float(results['idle.percent'][0]):.2f} % of one "
      f"processor over 10 s (peak resident memory {float(results['idle.rss'][0]) / 1024:.1f} MiB).")
    w("")

    if baseline:
        b = lambda key: median(baseline, key)
        w("## Before and after the copy changes")
        w("")
        w("\"before\" is bench/baseline.txt: the raw figures of a run of this script before the package copy "
          "was changed, on the same machine; \"after\" is this run.")
        w("")
        w("| figure | before wall | after wall | before processor | after processor |")
        w("|---|---|---|---|---|")
        for label, key in [("pack mode", "pack"), ("`cat`", "cat"), ("extraction", "extract"), ("`cp`", "cp"),
                           ("whole install", "install")]:
            if key + ".wall" in baseline:
                w(f"| {label} | {b(key + '.wall'):.3f} s | {m(key + '.wall'):.3f} s | {b(key + '.cpu'):.3f} s | "
                  f"{m(key + '.cpu'):.3f} s |")
        for label, key, reference in [("pack / cat", "pack", "cat"), ("extraction / cp", "extract", "cp"),
                                      ("install / cp", "install", "cp")]:
            if key + ".wall" in baseline:
                w(f"| ratio {label} | {b(reference + '.wall') / b(key + '.wall'):.2f} | "
                  f"{m(reference + '.wall') / m(key + '.wall'):.2f} | {b(reference + '.cpu') / b(key + '.cpu'):.2f} | "
                  f"{m(reference + '.cpu') / m(key + '.cpu'):.2f} |")
        w("")
    findings = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "bench", "findings.md")
    if os.path.exists(findings):
        with open(findings) as f:
            w(f.read().rstrip("\n"))
    print("\n".join(out))


if __name__ == "__main__":
    main()
