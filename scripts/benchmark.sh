#!/usr/bin/env bash
# Measures what the README's Performance section reports: the image store's
# open+load and save, and the editor's start-up time and peak memory beside a
# bare Qt window, each started 20 times under Xvfb. Builds in build-release/.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

install_missing "${build_packages[@]}" xvfb xauth
configure_and_build build-release -DCMAKE_BUILD_TYPE=Release -DVARNEL_BUILD_TESTS=OFF >/dev/null

echo "== Image store (synthetic 786,448-byte image)"
build-release/benchmarks/store_benchmark --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

runs=20
measure() {
    local kind=$1 times=() memory=()
    for _ in $(seq "$runs"); do
        local start output
        start=$(date +%s%N)
        output=$(build-release/benchmarks/startup_benchmark "$kind")
        times+=($(( ($(awk '{print $2}' <<<"$output") - start) / 1000000 )))
        memory+=("$(awk '{print $4}' <<<"$output")")
    done
    local median_time median_memory
    median_time=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
    median_memory=$(printf '%s\n' "${memory[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
    echo "$kind: start to window shown ${median_time} ms (median of $runs), peak memory $((median_memory / 1024)) MiB"
}

echo "== Start-up under Xvfb"
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
xvfb-run -a -s "-screen 0 1024x768x24" bash -c "$(declare -f measure); runs=$runs; measure bare; measure editor"

echo "== Machine"
echo "$(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(free -g | awk '/Mem:/ {print $2}') GiB"
