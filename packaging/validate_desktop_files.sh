#!/usr/bin/env bash
# validate_desktop_files.sh -- runs the desktop's validators on the menu entries
# and the software-centre data. Exit 77 (skipped) when a validator is missing.
# Usage: validate_desktop_files.sh <metainfo.xml> <entry.desktop>...
set -u
metainfo=$1
shift
for tool in desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed" >&2; exit 77; }
done
status=0
desktop-file-validate "$@" || status=1
# --no-net: the screenshots' web folder need not be reachable from here.
appstreamcli validate --no-net "$metainfo" || status=1
# Every program the entries start must be one we build.
for entry in "$@"; do
  exec_line=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
  case "$exec_line" in
    vitrion|vitrion_sim|vitrion_edit) ;;
    *) echo "FAIL: $entry starts '$exec_line'" >&2; status=1 ;;
  esac
done
exit $status
