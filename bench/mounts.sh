#!/usr/bin/env bash
# Start-up with many mounted file systems: the drive list reads the mount table once. Mounts
# 3 000 small tmpfs in a private mount namespace and times the program's start-up beside the
# same start-up without them. Needs root (unshare); run bench/run.sh first, which builds.
set -euo pipefail
cd "$(dirname "$0")/.."
kovex=build-bench/bench/startup_kovex
count=${1:-3000}
work=$(mktemp -d /var/tmp/kovex-mounts-XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/app"
: > "$work/app/units.ini"
: > "$work/app/Konfigs.ini"
export QT_QPA_PLATFORM=offscreen
unshare -m --propagation private bash -c '
    set -e
    hyperfine -N --warmup 3 --runs 20 --export-json "$2/without.json" -n without "$1 $2/app" >/dev/null
    for i in $(seq "$3"); do
        mkdir "$2/m$i"
        mount -t tmpfs -o size=16k tmpfs "$2/m$i"
    done
    echo "mounts now: $(wc -l < /proc/self/mountinfo)"
    hyperfine -N --warmup 3 --runs 20 --export-json "$2/with.json" -n with "$1 $2/app" >/dev/null
' bash "$PWD/$kovex" "$work" "$count"
python3 - "$work" "$count" <<'PY'
import json, sys
work, count = sys.argv[1], sys.argv[2]
m = {n: json.load(open(f"{work}/{n}.json"))["results"][0]["median"] * 1000 for n in ("without", "with")}
print(f"start-up without extra mounts: {m['without']:.1f} ms; with {count}: {m['with']:.1f} ms; "
      f"added {m['with'] - m['without']:.1f} ms (target: at most 500 ms)")
PY
