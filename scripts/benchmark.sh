#!/usr/bin/env bash
# Measures what docs/performance.md reports: the image store's
# open+load and save, varnel-rom-tables' export, import and patch making, an
# import of a 16 MiB table file made only of bad records, and
# the editor's start-up beside two floors (an empty
# window, and a window with one line of Chinese text in the window's font),
# started in turn under Xvfb: empty, text, editor, empty, text, editor, ...
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

install_missing "${build_packages[@]}" xvfb xauth time
build_shared store_benchmark tables_benchmark startup_benchmark varnel-rom-tables >/dev/null
make_temporary_folder scratch

echo "== Image store (synthetic 786,448-byte image)"
build/benchmarks/store_benchmark --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

echo "== varnel-rom-tables (same image; the patch's image differs every 4 KiB), and BPS creation alone on changes that copies serve"
build/benchmarks/tables_benchmark --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

echo "== import of 16 MiB table files made only of bad records (seconds, peak memory)"
head -c 786448 /dev/zero >"$scratch/image.nes"
( set +o pipefail  # yes stops with SIGPIPE once head has enough
  { echo 'table,index,name,field1,field2,field3,field4,field5,field6,field7,field8'
    yes 'weapon,x,,1,2,3,4,5,6,7,8'; } | head -c $((16 << 20)) | sed '$d' >"$scratch/bad.csv"
  { printf '{"format": "varnel-rom-tables", "version": 1, "records": ['
    yes '[],' | tr -d '\n' | head -c $(((16 << 20) - 100)); printf '[]]}'; } >"$scratch/bad.json" )
for format in csv json; do
    # import refuses these files (status 2); the time and memory are what count.
    /usr/bin/time -f "$format: %e s, %M KiB" -o "$scratch/time" build/cli/varnel-rom-tables import \
        "$scratch/image.nes" "$scratch/bad.$format" --dry-run >/dev/null 2>&1 || true
    tail -n 1 "$scratch/time"
done

runs=${RUNS:-21}
startup() {
    local kind round start output
    for round in $(seq "$runs"); do
        for kind in empty text editor; do
            start=$(date +%s%N)
            output=$(build/benchmarks/startup_benchmark "$kind")
            # kind, ms from launch and from main() to window shown, ms of CPU, MiB peak memory
            awk -v kind="$kind" -v start="$start" \
                '{printf "%s %.1f %.1f %.1f %.1f\n", kind, ($4 - start) / 1e6, ($4 - $2) / 1e6, $6 / 1e6, $8 / 1024}' \
                <<<"$output"
        done
    done
}

echo "== Start-up under Xvfb ($runs runs of each, alternating: empty, text, editor, ...; medians)"
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$scratch}
samples=$scratch/samples
xvfb-run -a -s "-screen 0 1024x768x24" bash -c "$(declare -f startup); runs=$runs; startup" >"$samples"
awk '
    function median(kind, column,    values, n, i, j, swap) {
        n = 0
        for (i = 1; i <= rows; ++i) if (kinds[i] == kind) values[++n] = cells[i, column]
        for (i = 2; i <= n; ++i)
            for (j = i; j > 1 && values[j - 1] > values[j]; --j) { swap = values[j]; values[j] = values[j - 1]; values[j - 1] = swap }
        return n % 2 ? values[(n + 1) / 2] : (values[n / 2] + values[n / 2 + 1]) / 2
    }
    { ++rows; kinds[rows] = $1; for (c = 2; c <= 5; ++c) cells[rows, c] = $c }
    END {
        split("empty text editor", order)
        printf "%-7s %12s %12s %9s %12s\n", "", "from launch", "from main()", "CPU", "peak memory"
        for (k = 1; k <= 3; ++k) {
            for (c = 2; c <= 5; ++c) m[order[k], c] = median(order[k], c)
            printf "%-7s %9.1f ms %9.1f ms %6.1f ms %8.1f MiB\n", order[k], m[order[k], 2], m[order[k], 3], m[order[k], 4], m[order[k], 5]
        }
        for (k = 1; k <= 2; ++k) {
            printf "editor / %-5s   x%.2f        x%.2f       x%.2f  %+8.1f MiB\n", order[k],
                m["editor", 2] / m[order[k], 2], m["editor", 3] / m[order[k], 3], m["editor", 4] / m[order[k], 4],
                m["editor", 5] - m[order[k], 5]
        }
    }' "$samples"

echo "== Machine"
echo "$(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(free -g | awk '/Mem:/ {print $2}') GiB, load $(cut -d' ' -f1-3 /proc/loadavg)"
