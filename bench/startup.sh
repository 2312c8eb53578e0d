#!/usr/bin/env bash
# Times Trelvane's start-up in one run on one display against two yardsticks: a bare Qt
# window of the same size, and a plain window carrying the input window's captions and
# controls, the floor that any window with this much text pays. Wall time (hyperfine) and
# peak resident memory (/usr/bin/time -v) from process start to the window being shown;
# prints them, Trelvane's ratios to both, and the machine.
#
#   bench/startup.sh [--check] [--build-dir DIR] [--runs N] [--rss-runs N]
#
# --check        exit 1 when Trelvane takes more than 1.05 times the plain window's time
#                or memory
# --build-dir    a build tree to use (configured here if it is empty); by default a
#                Release tree in build/bench
# --runs         timed runs of each program (at least 30; default 40)
# --rss-runs     memory runs of each program, of which the median counts (default 9)
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
arguments=("$@")

check=0 build="" runs=40 rss_runs=9
while [ $# -gt 0 ]; do
    case "$1" in
        --check) check=1 ;;
        --build-dir) build=$2; shift ;;
        --build-dir=*) build=${1#*=} ;;
        --runs) runs=$2; shift ;;
        --rss-runs) rss_runs=$2; shift ;;
        -h|--help) sed -n '2,13s/^# \{0,1\}//p' "$0"; exit 0 ;;
        *) echo "startup.sh: unknown argument $1" >&2; exit 2 ;;
    esac
    shift
done
[ "$runs" -ge 30 ] || { echo "startup.sh: --runs must be at least 30" >&2; exit 2; }
[ "$rss_runs" -ge 1 ] || { echo "startup.sh: --rss-runs must be at least 1" >&2; exit 2; }

# What it runs with, on top of what every build needs; missing packages are installed.
source "$top/scripts/ensure_packages.sh"
ensure_packages "${TRELVANE_BUILD_PACKAGES[@]}" hyperfine time python3 xvfb xauth

# Both programs need a real X server; without one, start a virtual one for this script.
if [ -z "${DISPLAY:-}" ]; then
    command -v xvfb-run >/dev/null || { echo "startup.sh: no DISPLAY and no xvfb-run" >&2; exit 2; }
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "${arguments[@]}"
fi
# The platform is the display's, whatever the caller's environment says.
unset QT_QPA_PLATFORM

for tool in hyperfine python3 cmake; do
    command -v "$tool" >/dev/null || { echo "startup.sh: $tool is missing" >&2; exit 2; }
done
[ -x /usr/bin/time ] || { echo "startup.sh: /usr/bin/time is missing (package time)" >&2; exit 2; }

build=${build:-$top/build/bench}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON >/dev/null
fi
cmake --build "$build" --target trelvane_startup_probe trelvane_bare_window \
    trelvane_plain_window >/dev/null
bare=$build/bench/trelvane_bare_window
plain=$build/bench/trelvane_plain_window
trelvane=$build/bench/trelvane_startup_probe
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build/CMakeCache.txt")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Wall time in rounds that rotate which program goes first, so that a change in the
# machine's load during the run falls on all alike. The probe exits non-zero when its
# input window is not showing, and hyperfine stops on that.
rounds=6
per_round=$(( (runs + rounds - 1) / rounds ))
for round in $(seq "$rounds"); do
    case $((round % 3)) in
        1) order=(-n bare "$bare" -n plain "$plain" -n trelvane "$trelvane") ;;
        2) order=(-n plain "$plain" -n trelvane "$trelvane" -n bare "$bare") ;;
        0) order=(-n trelvane "$trelvane" -n bare "$bare" -n plain "$plain") ;;
    esac
    hyperfine -N --style basic --warmup 5 --runs "$per_round" \
        --export-json "$work/wall_$round.json" "${order[@]}" >"$work/hyperfine_$round.txt"
done

# Peak memory, the programs taking turns so that none runs on a warmer machine.
peak_kib() {
    local out=$work/time.txt
    if ! /usr/bin/time -v -o "$out" "$1" >/dev/null 2>&1; then
        echo "startup.sh: $1 failed" >&2
        cat "$out" >&2
        exit 1
    fi
    sed -n 's/^[[:space:]]*Maximum resident set size (kbytes): //p' "$out"
}
: >"$work/rss_bare" ; : >"$work/rss_plain" ; : >"$work/rss_trelvane"
for _ in $(seq "$rss_runs"); do
    peak_kib "$bare" >>"$work/rss_bare"
    peak_kib "$plain" >>"$work/rss_plain"
    peak_kib "$trelvane" >>"$work/rss_trelvane"
done

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
python3 - "$work" "$check" "$(nproc)" "$cpu" "$build_type" <<'PY'
import glob, json, statistics, sys

work, check, cores, cpu, build_type = sys.argv[1], sys.argv[2] == "1", *sys.argv[3:]
target = 1.05
names = ("bare", "plain", "trelvane")

times = {name: [] for name in names}
for path in sorted(glob.glob(f"{work}/wall_*.json")):
    with open(path) as f:
        for result in json.load(f)["results"]:
            times[result["command"]].extend(result["times"])
wall = {name: statistics.median(values) * 1000 for name, values in times.items()}
spread = {name: statistics.stdev(values) * 1000 for name, values in times.items()}
runs = len(times["bare"])

def rss(name):
    with open(f"{work}/rss_{name}") as f:
        return [int(line) for line in f if line.strip()]
peaks = {name: rss(name) for name in names}
peak = {name: statistics.median(values) / 1024 for name, values in peaks.items()}

print(f"Machine: {cores} cores, {cpu}; {build_type} build")
print(f"Wall time: median of {runs} runs in 6 rotating rounds, each after 5 warm-up "
      f"runs; peak RSS: median of {len(peaks['bare'])} rotating runs")
print()
print(f"{'':22} {'wall median (ms)':>17} {'(stddev)':>9} {'peak RSS (MiB)':>15}")
labels = {"bare": "bare window", "plain": "plain window (floor)", "trelvane": "Trelvane"}
for name in names:
    print(f"{labels[name]:22} {wall[name]:17.1f} {spread[name]:9.1f} {peak[name]:15.1f}")
for floor in ("bare", "plain"):
    print(f"{'Trelvane / ' + floor:22} {wall['trelvane'] / wall[floor]:17.3f} {'':9} "
          f"{peak['trelvane'] / peak[floor]:15.3f}")
print(f"(target: Trelvane / plain <= {target})")

over = [what for what, ratio in (("wall time", wall["trelvane"] / wall["plain"]),
                                 ("peak RSS", peak["trelvane"] / peak["plain"]))
        if ratio > target]
if over:
    print(f"Over target: {', '.join(over)}")
sys.exit(1 if check and over else 0)
PY
