#!/usr/bin/env bash
# Runs the core benchmarks, the browser edition's figures (bench/web.mjs)
# and the window start-up cases, prints the figures and writes them to
# results.txt in the build folder. Expects `cmake --build --preset bench`
# (or a build like it) to have run, and `make web` for the browser edition,
# which is skipped, said in one line, without its page or chromium. Knobs
# (environment):
#   BENCH_BUILD       the bench build folder (default build/bench)
#   BENCH_MIN_TIME    seconds per core benchmark (default 0.05)
#   STARTUP_RUNS      runs of each start-up case (default 25, at least 15)
#   WEB_RUNS          runs of each of the page's start-up cases (default
#                     STARTUP_RUNS, at least 15)
#   STARTUP_PLATFORM  offscreen (default) or xvfb (starts its own Xvfb)
#   XVFB_DISPLAY      display for xvfb (default :98)
#   STARTUP_BARE_COUNTS_ONLY  set: the bare window holds the same numbers of
#                     widgets in a grid, with placeholder texts and the
#                     default font, instead of a copy of the real window
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${BENCH_BUILD:-$ROOT/build/bench}"
CORE="$BUILD/bench/kestrane_core_bench"
HARNESS="$BUILD/bench/kestrane_startup"
RESULTS="$BUILD/results.txt"
WORK="$BUILD/startup-data"
MIN_TIME="${BENCH_MIN_TIME:-0.05}"
RUNS="${STARTUP_RUNS:-25}"
[ "$RUNS" -ge 15 ] 2>/dev/null || RUNS=15  # a median of fewer runs says little on a shared machine
PLATFORM="${STARTUP_PLATFORM:-offscreen}"

[ -x "$CORE" ] || { echo "run.sh: $CORE is missing; build the bench preset first" >&2; exit 1; }
mkdir -p "$WORK"
: > "$RESULTS"
out() { printf '%s\n' "$*" | tee -a "$RESULTS"; }

out "Kestrane benchmarks $(date -u +%Y-%m-%dT%H:%M:%SZ)  commit $(git -C "$ROOT" rev-parse --short HEAD 2>/dev/null || echo '?')"
out "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
out ""

# ---- Core benchmarks ----
out "== Core benchmarks (min time ${MIN_TIME} s per case; CPU time is the figure that counts) =="
"$CORE" --benchmark_min_time="$MIN_TIME" --benchmark_out="$BUILD/core.csv" --benchmark_out_format=csv \
    2> >(grep -v 'built as DEBUG' >&2) | tee -a "$RESULTS"
out ""

# CPU time of one case in microseconds, from the CSV (name,iterations,
# real_time,cpu_time,time_unit,...).
cpu_us() {
    awk -F, -v name="\"$1\"" '$1 == name {
        f = ($5 == "\"ns\"" || $5 == "ns") ? 0.001 : ($5 == "\"us\"" || $5 == "us") ? 1 : ($5 == "\"ms\"" || $5 == "ms") ? 1000 : 1e6
        printf "%.2f", $4 * f; exit }' "$BUILD/core.csv"
}
verdict() { awk -v v="$1" -v t="$2" 'BEGIN { print (v != "" && v + 0 <= t + 0) ? "met" : "MISSED" }'; }

out "== Core targets (CPU time per operation, target < 50 us) =="
for pair in "load:BM_Load" "edit (option click):BM_EditOptionClick" "edit (Enter in a numeric box):BM_EditNumericEnter" \
            "save:BM_Save" "save without the file (commit boxes + seal):BM_CommitAndSeal" \
            "checksum, Crc32:BM_Crc32_396" "checksum, MissionChecksum:BM_MissionChecksum_396"; do
    label="${pair%%:*}"; name="${pair#*:}"
    v="$(cpu_us "$name")"
    case "$name" in BM_Load|BM_Save) note="  $(verdict "$v" 50)";; *) note="";; esac
    out "$(printf '  %-46s %10s us%s' "$label" "$v" "$note")"
done
out "  decode is part of load: it is met whenever load is."
out ""

# ---- kestrane-msn check against cat ----
CLI="$BUILD/src/kestrane-msn"
if [ -x "$CLI" ]; then
    out "== kestrane-msn check over 20,000 mission files, against cat of the same files to /dev/null =="
    CLI_DIR="$WORK/missions"
    if [ "$(find "$CLI_DIR" -name '*.msn' 2>/dev/null | wc -l)" != 20000 ]; then
        rm -rf "$CLI_DIR" && mkdir -p "$CLI_DIR"
        for i in $(seq 0 19999); do cp "$ROOT/examples/sample.msn" "$CLI_DIR/m$i.msn"; done
    fi
    now() { date +%s%N; }
    cli_t=(); cat_t=()
    # Interleaved rounds, so that the machine's noise falls on both alike.
    for round in $(seq 1 "${CLI_RUNS:-9}"); do
        t0=$(now); (cd "$CLI_DIR" && "$CLI" check -- *.msn >/dev/null); t1=$(now)
        (cd "$CLI_DIR" && cat -- *.msn >/dev/null); t2=$(now)
        cli_t+=($(( (t1 - t0) / 1000 ))); cat_t+=($(( (t2 - t1) / 1000 )))
    done
    median() { printf '%s\n' "$@" | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
    spread() { printf '%s\n' "$@" | sort -n | awk 'NR == 1 { lo = $1 } { hi = $1 } END { printf "%d..%d", lo, hi }'; }
    mc=$(median "${cli_t[@]}"); mk=$(median "${cat_t[@]}")
    ratio=$(awk -v a="$mc" -v b="$mk" 'BEGIN { printf "%.2f", a / b }')
    out "$(printf '  kestrane-msn check  median %8d us  (spread %s us)' "$mc" "$(spread "${cli_t[@]}")")"
    out "$(printf '  cat                 median %8d us  (spread %s us)' "$mk" "$(spread "${cat_t[@]}")")"
    out "  ratio $ratio (target at most 1.5): $(verdict "$ratio" 1.5)"
    out ""
fi

# ---- The browser edition ----
# build/web/kestrane.html in headless chromium: its size, its start-up
# against a static copy of its ready sheet, and a load, an option edit and
# a save in the page beside the desktop model's same calls.
if command -v node >/dev/null; then
    node "$ROOT/bench/web.mjs" "$BUILD" "${WEB_RUNS:-$RUNS}" \
        "$(cpu_us BM_Load)" "$(cpu_us BM_EditOptionClick)" "$(cpu_us BM_Save)" | tee -a "$RESULTS" ||
        out "  the browser edition's run stopped (its error is above): its figures are incomplete."
else
    out "== Browser edition: node is missing (make deps installs it): skipped =="
fi
out ""

# ---- Start-up ----
[ -x "$HARNESS" ] || { out "Start-up harness not built (Qt missing): start-up cases skipped."; exit 0; }

XVFB_PID=""
cleanup() { if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi; }
trap cleanup EXIT
if [ "$PLATFORM" = xvfb ]; then
    export DISPLAY="${XVFB_DISPLAY:-:98}"
    Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    sleep 1
    export QT_QPA_PLATFORM=xcb
else
    export QT_QPA_PLATFORM=offscreen
fi
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$WORK/runtime}"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
# The editor's settings and recovery file, apart from the user's own. The
# font choice kept in the settings by the first run is there for the rest,
# as it is for every start of the editor after its first.
export XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"

# Case (a): the sample catalogues; case (b): the same with a 65,536-line
# targets.txt.
A_DIR="$ROOT/examples"
a_note="examples/"
if [ ! -f "$A_DIR/planes.txt" ] || [ ! -f "$A_DIR/targets.txt" ] || [ ! -f "$A_DIR/blocks.txt" ]; then
    A_DIR="$WORK/a"
    a_note="stand-in catalogues (examples/ has none yet)"
    mkdir -p "$A_DIR"
    seq 0 39 | sed 's/^/Aircraft /' > "$A_DIR/planes.txt"
    seq 0 59 | sed 's/^/Target /' > "$A_DIR/targets.txt"
    seq 1 32 | sed 's/^/Block /' > "$A_DIR/blocks.txt"
fi
B_DIR="$WORK/b"
mkdir -p "$B_DIR"
cp "$A_DIR/planes.txt" "$A_DIR/blocks.txt" "$B_DIR/"
seq 0 65535 | awk '{ printf "Target %d (sector %d)\n", $1, $1 % 97 }' > "$B_DIR/targets.txt"

# The widget census of the real window fixes what the bare window holds.
CENSUS="$WORK/census.txt"
if (cd "$A_DIR" && "$HARNESS" census > "$CENSUS" 2>/dev/null); then
    census_note="copied from the real window: each stands where its own stands and shows the same text, in the window's font"
    HAVE_VIEW=1
    if [ -n "${STARTUP_BARE_COUNTS_ONLY:-}" ]; then
        grep -v -e '^widget ' -e '^row ' -e '^font ' "$CENSUS" > "$CENSUS.counts" && mv "$CENSUS.counts" "$CENSUS"
        census_note="counted from the real window, in a grid with placeholder texts and the default font (STARTUP_BARE_COUNTS_ONLY)"
    fi
else
    "$HARNESS" model-census > "$CENSUS"
    census_note="worked out from the window model (the view is not built)"
    HAVE_VIEW=0
fi

# One run: prints "total_ms main_ms maxrss_kb widgets". total is from just
# before the process is started to the first idle after the first paint.
run_case() {
    local dir="$1"; shift
    local t0 line
    t0=$(date +%s%N)
    line="$(cd "$dir" && "$HARNESS" "$@" 2>/dev/null | grep '^startup ')" || return 1
    awk -v t0="$t0" -v line="$line" 'BEGIN {
        n = split(line, f, " ")
        for (i = 2; i <= n; i++) { split(f[i], kv, "="); v[kv[1]] = kv[2] }
        printf "%.2f %.2f %d %d\n", (v["idle_ns"] - t0) / 1e6, (v["idle_ns"] - v["main_ns"]) / 1e6, v["maxrss_kb"], v["widgets"] }'
}

median() { sort -n | awk '{ a[NR] = $1 } END { if (NR == 0) print ""; else if (NR % 2) print a[(NR + 1) / 2]; else printf "%.2f\n", (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }

: > "$WORK/a.txt"; : > "$WORK/b.txt"; : > "$WORK/c.txt"
# Cases run interleaved, one run of each per round, so that load from other
# work falls on all of them alike; the order turns each round, so that no
# case always runs first (with the coldest caches) or last.
run_one() {
    case "$1" in
    a) [ "$HAVE_VIEW" = 1 ] && { run_case "$A_DIR" editor >> "$WORK/a.txt" || echo "run.sh: case a failed" >&2; } ;;
    b) [ "$HAVE_VIEW" = 1 ] && { run_case "$B_DIR" editor >> "$WORK/b.txt" || echo "run.sh: case b failed" >&2; } ;;
    c) run_case "$WORK" bare "$CENSUS" >> "$WORK/c.txt" || echo "run.sh: case c failed" >&2 ;;
    esac
    return 0
}
for ((i = 0; i < RUNS; i++)); do
    case $((i % 3)) in
    0) order="a b c" ;;
    1) order="b c a" ;;
    *) order="c a b" ;;
    esac
    for c in $order; do run_one "$c"; done
done

# The window model's share: its start-up alone, in a fresh process each
# time, so the figure includes first-touch memory as the editor pays it.
model_ms() { (cd "$1" && "$HARNESS" model) | awk '{ split($2, kv, "="); print kv[2] }'; }
: > "$WORK/ma.txt"; : > "$WORK/mb.txt"
for ((i = 0; i < RUNS; i++)); do
    model_ms "$A_DIR" >> "$WORK/ma.txt"
    model_ms "$B_DIR" >> "$WORK/mb.txt"
done

out "== Start-up: process start to window shown and idle ($RUNS runs each, medians, QT_QPA_PLATFORM=$QT_QPA_PLATFORM) =="
out "  bare window widget kinds and counts $census_note:"
grep -v -e '^widget ' -e '^row ' -e '^font ' "$CENSUS" | while read -r line; do out "    $line"; done
if [ -n "${STARTUP_BARE_EMPTY_LISTS:-}" ]; then out "  the bare window's lists are empty (STARTUP_BARE_EMPTY_LISTS)"; elif [ -n "${STARTUP_BARE_COUNTS_ONLY:-}" ]; then out "  the bare window's lists hold as many rows, as placeholder strings"; else out "  the bare window's lists hold the same rows as plain strings"; fi
declare -A T M R W
for c in a b c; do
    T[$c]="$(awk '{ print $1 }' "$WORK/$c.txt" | median)"
    M[$c]="$(awk '{ print $2 }' "$WORK/$c.txt" | median)"
    R[$c]="$(awk '{ print $3 }' "$WORK/$c.txt" | median)"
    W[$c]="$(awk '{ print $4 }' "$WORK/$c.txt" | median)"
done
# The spread of a case's total: lowest..highest, and the middle half (the
# quartiles), which a single slow run does not move.
spread_of() {
    awk '{ print $1 }' "$WORK/$1.txt" | sort -n | awk '{ a[NR] = $1 } END {
        if (NR == 0) { print "-"; exit }
        q1 = a[int((NR + 3) / 4)]; q3 = a[int((3 * NR + 3) / 4)]
        printf "%s..%s (middle half %s..%s)", a[1], a[NR], q1, q3 }'
}
out "$(printf '  %-40s %10s %10s %12s %8s  %s' case 'total ms' 'in main ms' 'maxrss KiB' widgets 'spread of total ms')"
line_for() { out "$(printf '  %-40s %10s %10s %12s %8s  %s' "$1" "${T[$2]:--}" "${M[$2]:--}" "${R[$2]:--}" "${W[$2]:--}" "$(spread_of "$2")")"; }
line_for "(a) editor, $a_note" a
line_for "(b) editor, 65,536-line targets.txt" b
line_for "(c) bare Qt Widgets, same widgets, rows" c
out "  all runs (total ms): a: $(awk '{ printf "%s ", $1 }' "$WORK/a.txt")"
out "                       b: $(awk '{ printf "%s ", $1 }' "$WORK/b.txt")"
out "                       c: $(awk '{ printf "%s ", $1 }' "$WORK/c.txt")"

# The list box: Qt's list view of uniform items against the editor's
# one-column table view, each on the bare window with a 65,536-row list.
: > "$WORK/lv.txt"; : > "$WORK/tv.txt"
for ((i = 0; i < RUNS; i++)); do
    run_case "$WORK" bare "$CENSUS" lazy 65536 >> "$WORK/lv.txt" || true
    run_case "$WORK" bare "$CENSUS" listbox 65536 >> "$WORK/tv.txt" || true
done
lv="$(awk '{ print $1 }' "$WORK/lv.txt" | median)"; tv="$(awk '{ print $1 }' "$WORK/tv.txt" | median)"

out "  window model start-up alone (WindowModel construction, fresh process, median): a: $(median < "$WORK/ma.txt") ms   b: $(median < "$WORK/mb.txt") ms"
ratio() { awk -v x="$1" -v y="$2" 'BEGIN { if (x == "" || y == "" || y + 0 == 0) print "-"; else printf "%.2f", x / y }'; }
if [ "$HAVE_VIEW" = 1 ]; then
    ac="$(ratio "${T[a]}" "${T[c]}")"; bc="$(ratio "${T[b]}" "${T[c]}")"
    out "  time   a/c = $ac (target <= 1.08: $(verdict "$ac" 1.08))   b/c = $bc (target <= 1.12: $(verdict "$bc" 1.12))"
    out "  memory a/c = $(ratio "${R[a]}" "${R[c]}")   b/c = $(ratio "${R[b]}" "${R[c]}")"
    out "  list box with 65,536 rows on the bare window: Qt's list view of uniform items ${lv:--} ms, the editor's one-column table view ${tv:--} ms, ratio $(ratio "$lv" "$tv")"
else
    out "  ratios a/c and b/c need the view library (src/ui/qt); only the bare case ran."
fi

# ---- The missions window over 10,000 missions ----
if [ "$HAVE_VIEW" = 1 ] && [ -x "$CLI" ]; then
    M_DIR="$WORK/missions10k"
    if [ "$(find "$M_DIR" -name '*.msn' 2>/dev/null | wc -l)" != 10000 ]; then
        rm -rf "$M_DIR" && mkdir -p "$M_DIR"
        for i in $(seq 0 9999); do cp "$ROOT/examples/sample.msn" "$M_DIR/m$i.msn"; done
    fi
    cp "$A_DIR/planes.txt" "$A_DIR/targets.txt" "$A_DIR/blocks.txt" "$M_DIR/"
    : > "$WORK/mission-runs.txt"; mcheck=()
    for ((i = 0; i < ${MISSION_RUNS:-7}; i++)); do
        (cd "$M_DIR" && "$HARNESS" missions 2>/dev/null | grep '^missions ') >> "$WORK/mission-runs.txt" || true
        t0=$(date +%s%N); (cd "$M_DIR" && "$CLI" check -- *.msn >/dev/null); t1=$(date +%s%N)
        mcheck+=($(( (t1 - t0) / 1000 )))
    done
    field() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p" "$WORK/mission-runs.txt" | median; }
    first=$(field first_rows_ms); filled=$(field filled_ms); key=$(field worst_key_ms)
    checked=$(printf '%s\n' "${mcheck[@]}" | median | awk '{ printf "%.1f", $1 / 1000 }')
    out "== The missions window (F3) over 10,000 missions (${MISSION_RUNS:-7} runs, medians) =="
    out "  first rows shown after F3   $first ms (target at most 50: $(verdict "$first" 50))"
    out "  every file a row            $filled ms; kestrane-msn check over the same files $checked ms; ratio $(ratio "$filled" "$checked") (target at most 1.5: $(verdict "$(ratio "$filled" "$checked")" 1.5))"
    out "  a key in the sheet, meanwhile, waited at most $key ms (target at most 16: $(verdict "$key" 16))"
    out ""
fi
out ""
out "Written to ${RESULTS#"$ROOT"/}"
