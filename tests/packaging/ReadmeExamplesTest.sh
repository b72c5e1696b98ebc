#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# ReadmeExamplesTest.sh BIN SOURCE: runs the README's examples and compares
# what they print with what the README shows, so that the two cannot drift
# apart. An example is a ```console block: "$ COMMAND" lines (a here-document
# follows its command), each followed by the output it prints, standard
# error included; "(exit status N)" as the last output line when it is not
# 0. "..." in an output line stands for any text. The blocks run in the
# README's order, as a reader would type them, in one fresh platform root
# with the plug-in registered, from an empty working folder.
set -euo pipefail
bin=$(cd "$1" && pwd) source=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LNS_PLATFORM_ROOT="$work/root" XDG_CONFIG_HOME="$work/config" PATH="$bin:$PATH"
export RM42_UNATTENDED=1 QT_QPA_PLATFORM=offscreen
unset LNS_SIM_JOURNAL RM42_SNAPSHOT_DIR
mkdir -p "$work/cwd"
lns-host setup >/dev/null
RM42xxPirConfigure /regplugin >/dev/null
for _ in $(seq 100); do lns-reg query 'HKCR\RM42xxPirConfigure.LNSPlugInAPI' >/dev/null 2>&1 && break; sleep 0.1; done

problems=0 commands=0

# A line of expected output as a bash pattern: "..." matches anything, every
# other character itself.
pattern_of() {
  local text=$1 escaped="" i char
  for ((i = 0; i < ${#text}; i++)); do
    if [[ ${text:i:3} == ... ]]; then
      escaped+='*'
      i=$((i + 2))
      continue
    fi
    char=${text:i:1}
    [[ $char == [\\\*\?\[\]] ]] && escaped+='\'
    escaped+=$char
  done
  printf '%s' "$escaped"
}

# run_example COMMAND EXPECTED: runs one command and compares its output.
run_example() {
  local command=$1 expected=$2 actual status=0
  commands=$((commands + 1))
  actual=$(cd "$work/cwd" && bash -c "$command" 2>&1 </dev/null) || status=$?
  ((status == 0)) || actual+=$'\n'"(exit status $status)"
  actual=${actual#$'\n'}
  local -a want got
  mapfile -t want <<<"$expected"
  mapfile -t got <<<"$actual"
  [[ -z $expected ]] && want=()
  [[ -z $actual ]] && got=()
  local same=true i
  if ((${#want[@]} != ${#got[@]})); then
    same=false
  else
    for ((i = 0; i < ${#want[@]}; i++)); do
      # shellcheck disable=SC2053 # the expected line is a pattern
      [[ ${got[i]} == $(pattern_of "${want[i]}") ]] || { same=false; break; }
    done
  fi
  if ! $same; then
    problems=$((problems + 1))
    echo "README example: \$ $command"
    diff <(printf '%s\n' "${want[@]}") <(printf '%s\n' "${got[@]}") | sed 's/^/  /' || true
  fi
}

# The console blocks, one line each as BLOCK<TAB>LINE.
mapfile -t lines < <(awk '/^```console$/ { inside = 1; block++; next } /^```/ { inside = 0 }
                          inside { print block "\t" $0 }' "$source/README.md")
command="" expected="" block="" heredoc=""
flush() {
  [[ -n $command ]] && run_example "$command" "$expected"
  command="" expected=""
}
for entry in "${lines[@]}"; do
  number=${entry%%$'\t'*} line=${entry#*$'\t'}
  [[ $number != "$block" ]] && { flush; block=$number; }
  if [[ -n $heredoc ]]; then
    command+=$'\n'$line
    [[ $line == "$heredoc" ]] && heredoc=""
  elif [[ $line == '$ '* ]]; then
    flush
    command=${line#'$ '}
    [[ $command =~ \<\<\'?([A-Za-z_]+)\'? ]] && heredoc=${BASH_REMATCH[1]}
  else
    expected+=${expected:+$'\n'}$line
  fi
done
flush
((commands > 0)) || { echo "the README has no console examples"; exit 1; }
((problems == 0)) && echo "the README's $commands example commands print what it shows"
exit $((problems > 0))
