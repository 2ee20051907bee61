#!/usr/bin/env bash
# results_table.sh <results file> [rows]: the first and last rows of a results file as a
# table, one column per output, headed by its name and unit.
set -euo pipefail
file=$1
rows=${2:-6}
if ! command -v python3 >/dev/null; then
  echo "(python3 is not installed: the rows of $file follow as JSON)"
  sed -n '/"rows"/,/"diagnostics"/p' "$file" | head -n 40
  exit 0
fi
python3 - "$file" "$rows" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))
shown = int(sys.argv[2])
heads = [f"{c['name']} ({c['unit']})" for c in results["columns"]]
rows = results["rows"]
picked = rows if len(rows) <= 2 * shown else rows[:shown] + [None] + rows[-shown:]
cells = [["..." if row is None else ("" if v is None else f"{v:.6g}") for v in (row or heads)] for row in picked]
widths = [max(len(h), *(len(r[i]) for r in cells)) for i, h in enumerate(heads)]
print("  ".join(h.rjust(w) for h, w in zip(heads, widths)))
for r in cells:
    print("  ".join(c.rjust(w) for c, w in zip(r, widths)))
print(f"{len(rows)} rows; {len(results['diagnostics'])} diagnostics")
PY
