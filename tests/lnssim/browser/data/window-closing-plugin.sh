#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# A stand-in plug-in whose window its user closes: it answers every request,
# says its window shows for the first two questions and then that it is
# closed, and writes each request's operation and member to $1 (or
# PLUGIN_LOG). It ends when its input ends, as a hidden plug-in does.
log=${PLUGIN_LOG:?}
asked=0
while IFS= read -r line; do
  id=$(sed -E 's/.*"id":([0-9]+).*/\1/' <<<"$line")
  op=$(sed -E 's/.*"op":"([a-z]+)".*/\1/' <<<"$line")
  member=$(sed -nE 's/.*"member":"([A-Za-z]+)".*/\1/p' <<<"$line")
  echo "$op $member" >>"$log"
  result=null
  if [[ $op == create ]]; then
    result='{"object":1}'
  elif [[ $op == get && $member == Visible ]]; then
    asked=$((asked + 1))
    ((asked <= 2)) && result=true || result=false
  fi
  printf '{"id":%s,"result":%s}\n' "$id" "$result"
done
echo "end" >>"$log"
