#!/usr/bin/env bash
# Benchmark of `pellmar send` on a tree of ~30,000 small files and a few
# large ones: the first run copies everything (compared with `cp -a`), the
# second finds nothing newer (compared with `rsync -a`, or `find -newer`
# where rsync is missing). Prints wall time and peak memory of each.
#
# Usage: bench/send_bench.sh [path/to/pellmar]   (default: build/pellmar)
# FILES, DIRS and LARGE_MB change the size of the tree.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bin=${1:-${PELLMAR_BIN:-$root/build/pellmar}}
files=${FILES:-30000}
dirs=${DIRS:-300}
large_mb=${LARGE_MB:-64}
[[ -x $bin ]] || { echo "no pellmar at $bin; build it or pass its path" >&2; exit 2; }

work=$(mktemp -d /tmp/pellmar-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT
project=$work/home/Documents/BenchProj
stick=$work/stick
mkdir -p "$project" "$stick/Sync" "$work/home/.config"

echo "building $files small files in $dirs folders and 3 files of $large_mb MB ..."
python3 - "$project" "$files" "$dirs" <<'PY'
import os, sys
project, files, dirs = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
payload = b"x" * 1500
for d in range(dirs):
    folder = os.path.join(project, "d%03d" % (d // 20), "s%03d" % d)
    os.makedirs(folder, exist_ok=True)
    for f in range(files // dirs):
        with open(os.path.join(folder, "f%05d.txt" % f), "wb") as out:
            out.write(payload[: 200 + (f * 37) % 1300])
PY
for i in 1 2 3; do
  head -c $((large_mb * 1024 * 1024)) /dev/urandom > "$project/large$i.bin"
done

# The namespace: C:\ is /, E: is the stick folder.
ns() { printf 'C:%s' "${1//\//\\}"; }
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config
export XDG_DOCUMENTS_DIR=$work/home/Documents PELLMAR_DRIVES="E:=$stick"
printf '[Setting]\r\nSyncItem1=%s\r\nPath in mobile disk1=E:\\Sync\r\nDuration1=7\r\nAutoDelete1=0\r\nUseZip1=0\r\nExtensions of excluded files1=bak\r\n' \
  "$(ns "$project")" > "$XDG_CONFIG_HOME/Pellmar.ini"

# Runs a command quietly; sets `wall` (seconds) and `peak` (KB, or "?").
measure() {
  local out=$work/time.txt
  if [[ -x /usr/bin/time ]]; then
    /usr/bin/time -v -o "$out" "$@" > /dev/null 2>&1 || true
    wall=$(awk -F': ' '/Elapsed/ {split($2, t, ":"); s = 0; for (i = 1; i in t; i++) s = s * 60 + t[i]; print s}' "$out")
    peak=$(awk -F': ' '/Maximum resident/ {print $2}' "$out")
  else
    local start end
    start=$(date +%s.%N); "$@" > /dev/null 2>&1 || true; end=$(date +%s.%N)
    wall=$(echo "$end - $start" | bc); peak="?"
  fi
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }
report() { printf '%-34s %8.2f s  %10s KB peak\n' "$1" "$2" "$3"; }

sync; measure "$bin" send BenchProj --yes; send1=$wall; report "pellmar send (first run)" "$wall" "$peak"
copied=$(find "$stick/Sync/BenchProj" -type f | wc -l)
echo "  files on the stick: $copied"
sync; measure cp -a "$project" "$work/cp-copy"; cp1=$wall; report "cp -a" "$wall" "$peak"
echo "first run: pellmar / cp -a = $(ratio "$send1" "$cp1")"

touch "$work/stamp"
sync; measure "$bin" send BenchProj --yes; send2=$wall; report "pellmar send (nothing newer)" "$wall" "$peak"
if command -v rsync > /dev/null; then
  measure rsync -a "$project/" "$work/cp-copy/"; other=$wall; name="rsync -a"
  report "rsync -a (nothing newer)" "$wall" "$peak"
else
  echo "rsync is not installed; comparing with find -newer instead"
  measure find "$project" -newer "$work/stamp" -type f; other=$wall; name="find -newer"
  report "find -newer" "$wall" "$peak"
fi
echo "second run: pellmar / $name = $(ratio "$send2" "$other")"
