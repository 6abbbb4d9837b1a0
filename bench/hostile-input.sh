#!/usr/bin/env bash
# Hostile logs against vnx-check: time and peak memory of three crafted inputs per size.
#
#   bench/hostile-input.sh VNX_CHECK [SIZE_MIB ...]      (sizes default to 64 and 256)
#
#   damage  a short log, SIZE MiB of bytes that belong to no frame, then one more frame
#   zeros   a short log followed by SIZE MiB of NUL bytes
#   heads   the file header, one bad byte, 4096 'F' (each the head of a frame of length 0xFFF),
#           then SIZE MiB of NUL bytes
#
# Prints one line per input: seconds, peak resident memory, exit status and the longest output
# line. Memory that stays flat shows as the same peak for every size.
set -euo pipefail
check="${1:?usage: bench/hostile-input.sh VNX_CHECK [SIZE_MIB ...]}"
shift
sizes=("$@")
[ ${#sizes[@]} -eq 0 ] && sizes=(64 256)
here="$(cd "$(dirname "$0")/.." && pwd)"
sample="$here/examples/sample.vnx"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

make_input() {  # kind size_mib file
  local n=$(($2 << 20))
  case "$1" in
    damage) { head -c 65536 "$sample"; head -c "$n" /dev/zero | tr '\0' 'q'
              tail -c 4096 "$sample"; } > "$3" ;;
    zeros)  { head -c 65536 "$sample"; head -c "$n" /dev/zero; } > "$3" ;;
    heads)  { head -c 92 "$sample"; printf '\001'; head -c 4096 /dev/zero | tr '\0' 'F'
              head -c "$n" /dev/zero; } > "$3" ;;
  esac
}

printf '%-7s %6s %9s %11s %5s %12s\n' input MiB seconds "peak MB" exit "longest line"
for size in "${sizes[@]}"; do
  for kind in damage zeros heads; do
    make_input "$kind" "$size" "$tmp/in.vnx"
    set +e
    /usr/bin/time -v -o "$tmp/time" "$check" --json --workdir "$tmp/work" "$tmp/in.vnx" \
      > "$tmp/out" 2>/dev/null
    status=$?
    set -e
    secs=$(awk -F': ' '/Elapsed \(wall clock\)/ {n = split($2, t, ":"); s = 0;
                       for (i = 1; i <= n; i++) s = s * 60 + t[i]; print s}' "$tmp/time")
    peak=$(awk -F': ' '/Maximum resident set size/ {printf "%.0f", $2 / 1024}' "$tmp/time")
    longest=$(LC_ALL=C wc -L < "$tmp/out")
    printf '%-7s %6s %9s %11s %5s %12s\n' "$kind" "$size" "$secs" "$peak" "$status" "$longest"
    rm -rf "$tmp/work" "$tmp/in.vnx"
  done
done
