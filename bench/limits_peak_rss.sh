#!/usr/bin/env bash
# bench/limits_peak_rss.sh [--all] [BUILD_DIR]: peak resident memory and wall time of a whole
# `quillmar-cli search` (every engine) against the fake web answering every request with one
# misbehaviour, side by side with the same search against the well-behaved fake web.
#   default: none, endless, bomb (a few seconds)
#   --all:   also silent, trickle and garbage (bounded by the idle and total time-outs: about
#            20 s and 60 s)
# Needs GNU time (/usr/bin/time, Debian package "time").
set -euo pipefail
cd "$(dirname "$0")/.."

modes=(none endless bomb)
if [ "${1:-}" = "--all" ]; then
  modes+=(silent trickle garbage)
  shift
fi
build=${1:-build/release}
cli="$build/src/cli/quillmar-cli"
web="$build/fakeweb/quillmar-fakeweb"
for f in "$cli" "$web" /usr/bin/time; do
  [ -x "$f" ] || { echo "limits_peak_rss: $f is missing (scripts/build release, scripts/setup)" >&2; exit 2; }
done

work=$(mktemp -d)
web_pid=""
cleanup() {
  if [ -n "$web_pid" ]; then kill "$web_pid" 2>/dev/null || true; wait "$web_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

printf '%-9s %9s %12s %10s %6s\n' mode seconds "peak RSS MB" "x normal" exit
base_kb=""
for mode in "${modes[@]}"; do
  : >"$work/addr"
  "$web" --misbehave "$mode" >"$work/addr" &
  web_pid=$!
  for _ in $(seq 100); do [ -s "$work/addr" ] && break; sleep 0.05; done
  addr=$(head -n1 "$work/addr")
  mkdir -p "$work/home-$mode"
  set +e
  /usr/bin/time -f '%e %M' -o "$work/time" \
    "$cli" --home "$work/home-$mode" --connect-to "::$addr" search --format tsv meta search >/dev/null 2>"$work/err"
  status=$?
  set -e
  kill "$web_pid" 2>/dev/null || true
  wait "$web_pid" 2>/dev/null || true
  web_pid=""
  read -r seconds kb <"$work/time"
  [ -z "$base_kb" ] && base_kb=$kb
  printf '%-9s %9s %12d %10.2f %6d\n' "$mode" "$seconds" $((kb / 1024)) "$(awk -v a="$kb" -v b="$base_kb" 'BEGIN { print a / b }')" "$status"
done
