#!/usr/bin/env bash
# make_report_sample.sh -- draws docs/report-sample.png, the sample page for the eye doctor the README shows.
# Uses the report test's own sample vision; run after a build (build/ by default).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
VITRION_REPORT_SAMPLE="$work/report.pdf" QT_QPA_PLATFORM=offscreen \
  "$build/bin/editor_ui_tests" --gtest_filter='ReportPdf.OnePageWithEveryAnswerTheCommentsAndEmbeddedFonts' >/dev/null
pdftoppm -r 100 -png -singlefile "$work/report.pdf" "$work/page"
cp "$work/page.png" "$root/docs/report-sample.png"
echo "wrote docs/report-sample.png"
