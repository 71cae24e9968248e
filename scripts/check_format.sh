#!/usr/bin/env bash
# Checks that every C++ file of the tree is formatted as .clang-format says;
# names each file that is not and fails. Formats nothing.
#
#   scripts/check_format.sh [clang-format binary]
#
# To format the tree: git ls-files '*.cpp' '*.hpp' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."
format=${1:-clang-format}
if ! command -v "$format" >/dev/null; then
    echo "check_format: $format is not installed (Debian: clang-format)" >&2
    exit 2
fi
mapfile -t files < <(git ls-files '*.cpp' '*.hpp')
bad=()
for f in "${files[@]}"; do
    "$format" --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ ${#bad[@]} -gt 0 ]; then
    echo "check_format: ${#bad[@]} of ${#files[@]} files are not formatted:" >&2
    printf '  %s\n' "${bad[@]}" >&2
    exit 1
fi
echo "check_format: all ${#files[@]} files are formatted"
