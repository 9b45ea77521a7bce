#!/bin/sh
# Compares the page drawings of two build trees (configured with
# -DRALVO_BUILD_BENCHMARKS=ON): page_samples of each writes the preview
# images, PDFs and PNGs of the benchmark blocks; PNGs must have the same
# pixels and resolution, PDFs the same pixels when rendered at 150 dpi
# (their bytes carry the creation time). Needs pdftoppm (poppler-utils).
#   scripts/compare-page-outputs.sh build/before build/bench
set -eu
before=$1
after=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work"
"$before/benchmarks/page_samples" "$work/before"
"$after/benchmarks/page_samples" "$work/after"
status=0
for file in "$work"/before/*; do
    name=$(basename "$file")
    case $name in
    *.png)
        "$after/benchmarks/page_samples" --same-pixels "$file" "$work/after/$name" || {
            echo "differs: $name"; status=1; } ;;
    *.pdf)
        pdftoppm -r 150 "$file" "$work/b" && pdftoppm -r 150 "$work/after/$name" "$work/a"
        cmp -s "$work/b-1.ppm" "$work/a-1.ppm" || { echo "differs: $name"; status=1; } ;;
    esac
done
[ $status -eq 0 ] && echo "all $(ls "$work/before" | wc -l) outputs alike"
exit $status
