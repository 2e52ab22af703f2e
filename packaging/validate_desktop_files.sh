#!/usr/bin/env bash
# validate_desktop_files.sh -- runs the desktop's validators on the menu entries
# and the software-centre data. Exit 77 (skipped) when a validator is missing.
# Usage: validate_desktop_files.sh <metainfo.xml> <mime-info.xml> <entry.desktop>...
set -u
metainfo=$1
mime_info=$2
shift 2
for tool in desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed" >&2; exit 77; }
done
status=0
desktop-file-validate "$@" || status=1
# --no-net: the screenshots' web folder need not be reachable from here.
appstreamcli validate --no-net "$metainfo" || status=1
# The file type must be one the desktop's database takes, and every entry
# must open it.
if command -v update-mime-database >/dev/null; then
  mime_dir=$(mktemp -d)
  mkdir -p "$mime_dir/packages"
  cp "$mime_info" "$mime_dir/packages/vitrion.xml"
  update-mime-database "$mime_dir" 2>"$mime_dir/log" && grep -q '^\*\.flt$\|:\*\.flt$' "$mime_dir/globs2" ||
    { echo "FAIL: $mime_info: $(cat "$mime_dir/log")" >&2; status=1; }
  rm -rf "$mime_dir"
fi
for entry in "$@"; do
  grep -q '^MimeType=application/x-vitrion-vision;$' "$entry" || { echo "FAIL: $entry opens no vision files" >&2; status=1; }
done
# Every program the entries start must be one we build.
for entry in "$@"; do
  exec_line=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
  case "$exec_line" in
    vitrion|vitrion_sim|vitrion_edit) ;;
    *) echo "FAIL: $entry starts '$exec_line'" >&2; status=1 ;;
  esac
done
exit $status
