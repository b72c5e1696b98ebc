#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# CompletionTest.sh BIN SOURCE: the bash completions of the checkout, typed
# as a user types, against a laid-out platform root whose networks and keys
# have blanks in their names. Each answer must read back, through the shell,
# as the one name meant.
set -euo pipefail
bin=$1 source=$2
if [[ ! -f /usr/share/bash-completion/bash_completion ]]; then
  echo "bash-completion is missing (bash scripts/install-deps.sh installs it)"
  exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LNS_PLATFORM_ROOT="$work/root" PATH="$bin:$PATH"
lns-host setup >/dev/null
RM42xxPirConfigure /regplugin >/dev/null
for _ in $(seq 100); do lns-reg query 'HKCR\RM42xxPirConfigure.LNSPlugInAPI' >/dev/null 2>&1 && break; sleep 0.1; done

problems=0
fail() {
  echo "$1"
  problems=$((problems + 1))
}
# complete FILE FUNCTION WORD...: the completions offered for the last word.
complete_words() {
  local file=$1 function=$2
  shift 2
  bash -c 'source /usr/share/bash-completion/bash_completion && source "$1" && function=$2 && shift 2 &&
    COMP_WORDS=("$@") COMP_CWORD=$(($# - 1)) COMP_LINE="$*" COMP_POINT=${#COMP_LINE} &&
    "$function" && printf "%s\n" "${COMPREPLY[@]}"' - "$file" "$function" "$@"
}
# expect WANTED FILE FUNCTION WORD...: exactly one completion, which the
# shell reads as WANTED.
expect() {
  local wanted=$1
  shift
  local offered
  offered=$(complete_words "$@")
  if [[ $(wc -l <<<"$offered") != 1 || -z $offered ]]; then
    fail "${*:3}: offered [$offered], wanted one completion"
    return
  fi
  local -a read_back
  eval "read_back=($offered)"
  [[ ${#read_back[@]} == 1 && ${read_back[0]} == "$wanted" ]] ||
    fail "${*:3}: offered $offered, which the shell reads as $(printf '[%s]' "${read_back[@]}"), wanted [$wanted]"
}
host="$source/packaging/lnssim/completions/lns-host"
reg="$source/packaging/lnssim/completions/lns-reg"
browser="$source/packaging/lnssim/completions/lns-browser"
config="$source/packaging/rm42xx-config/completions/rm42-config"

expect "Demo Building" "$config" _rm42_config rm42-config show De
expect "Demo Building" "$config" _rm42_config rm42-config save 'Demo\ B'
expect "Demo Building" "$config" _rm42_config rm42-config apply '"Demo B'
expect "Demo Building" "$host" _lns_host lns-host browse De
expect "Demo Building" "$host" _lns_host lns-host export 'Demo\ B'
expect "Demo Building" "$browser" _lns_browser lns-browser 'Demo\ B'
expect "query" "$reg" _lns_reg lns-reg q
expect 'HKLM\' "$reg" _lns_reg lns-reg query HKL
expect 'HKLM\SOFTWARE\LonWorks\LCA\Plug-Ins\Zentaro PIR ready RM42xx Configure\' \
  "$reg" _lns_reg lns-reg query 'HKLM\\SOFTWARE\\LonWorks\\LCA\\Plug-Ins\\Ze'
expect 'HKLM\SOFTWARE\LonWorks\LCA\Plug-Ins\Zentaro PIR ready RM42xx Configure\' \
  "$reg" _lns_reg lns-reg query '"HKLM\SOFTWARE\LonWorks\LCA\Plug-Ins\Zentaro PIR'
expect "REG_DWORD" "$reg" _lns_reg lns-reg add 'HKCU\\X' /t REG_D
((problems == 0)) && echo "every completion quotes what it completes"
exit $((problems > 0))
