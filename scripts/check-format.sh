#!/usr/bin/env bash
# Fails when a C++ source differs from the committed .clang-format; --fix rewrites them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
    clang-format -i "${files[@]}"
    exit 0
fi
if ! clang-format --dry-run --Werror "${files[@]}" 2>/tmp/veg-format.$$; then
    grep -E '^[^ ].*: (error|warning):' /tmp/veg-format.$$ | cut -d: -f1 | sort -u | sed 's/^/not formatted: /'
    rm -f /tmp/veg-format.$$
    echo "Run scripts/check-format.sh --fix to format them." >&2
    exit 1
fi
rm -f /tmp/veg-format.$$
