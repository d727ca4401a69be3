#!/usr/bin/env bash
# Size of the test suite against the rest of the code: non-blank, non-comment
# lines of the C and C++ files under tests/ against those of every other C and
# C++ file of the repository (build folders excluded). The project keeps the
# ratio between 25 and 33 per cent.
#   scripts/test-ratio.sh            totals and ratio
#   scripts/test-ratio.sh -v         also the count per folder
set -euo pipefail
cd "$(dirname "$0")/.."

# Counts code lines of the files named on stdin: drops blank lines, // line
# comments and /* */ block comments (also those spanning lines).
count() {
  xargs -r cat | awk '
    { line = $0; out = "" }
    {
      while (length(line) > 0) {
        if (inblock) {
          p = index(line, "*/")
          if (p == 0) { line = ""; break }
          line = substr(line, p + 2); inblock = 0
        } else {
          p = index(line, "/*"); q = index(line, "//")
          if (q > 0 && (p == 0 || q < p)) { out = out substr(line, 1, q - 1); line = ""; break }
          if (p == 0) { out = out line; line = ""; break }
          out = out substr(line, 1, p - 1); line = substr(line, p + 2); inblock = 1
        }
      }
      if (out ~ /[^ \t\r]/) n++
    }
    END { print n + 0 }'
}

files() {
  git ls-files --cached --others --exclude-standard -- '*.c' '*.cc' '*.cpp' '*.h' '*.hpp' |
    grep -v -E '^(build|build-[^/]*)/' | while read -r f; do [ -f "$f" ] && echo "$f"; done
}

tests=$(files | grep '^tests/' | count)
code=$(files | grep -v '^tests/' | count)
if [ "${1:-}" = "-v" ]; then
  for d in $(files | cut -d/ -f1-2 | sed 's|/[^/]*\.[a-z]*$||' | sort -u); do
    printf '%-20s %6d\n' "$d" "$(files | grep "^$d/" | count)"
  done
fi
awk -v t="$tests" -v c="$code" 'BEGIN {
  printf "tests %d lines, code %d lines, ratio %.1f%%\n", t, c, c ? 100 * t / c : 0 }'
