#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# HelpTest.sh BIN: every program's --help, and each subcommand's, fits a
# terminal of 80 columns and ends by saying where to report problems.
set -euo pipefail
bin=$1
problems=0
check() {
  local text
  text=$("$bin/$1" "${@:2}" 2>&1) || { echo "$* exits $?"; problems=$((problems + 1)); return; }
  local long
  long=$(awk 'length > 80 { print "  " length ": " $0 }' <<<"$text")
  [[ -z $long ]] || { echo "$*: lines over 80 characters:"; echo "$long"; problems=$((problems + 1)); }
  [[ $(tail -1 <<<"$text") == "Report problems to "* ]] ||
    { echo "$*: does not end with where to report problems"; problems=$((problems + 1)); }
}
for program in RM42xxPirConfigure rm42-config lns-host lns-reg lns-browser XIF32BIN; do
  check "$program" --help
done
for subcommand in show save check apply restore set; do
  check rm42-config "$subcommand" --help
done
check rm42-config help
for subcommand in setup browse plugins run export import; do
  check lns-host "$subcommand" --help
done
((problems == 0)) && echo "every help fits 80 columns and says where to report problems"
exit $((problems > 0))
