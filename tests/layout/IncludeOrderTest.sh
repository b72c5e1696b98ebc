#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# IncludeOrderTest.sh SOURCE: the folders of the product (plugin/) and of the
# simulated platform (lnssim/) include only the folders below them, as listed
# here; a folder includes its own files freely. The product includes nothing
# of the simulated platform: it reaches it through lns/, the settings store
# and the one factory of lns/LonWorksPlatform.h.
set -euo pipefail
cd "$1"
declare -A may=(
  # The product, from the bottom up.
  [lns]=""
  [platform]="lns"
  [support]="lns platform"
  [model]="lns platform support"
  [automation]="lns platform support model"
  [registration]="lns platform support model automation"
  [window]="lns platform support model automation"
  [rm42-config]="lns platform support model automation"
  [regwindows]="lns platform support model automation registration"
  [startup]="lns platform support model automation registration window regwindows"
  # The simulated platform, over the product's interfaces and base layer.
  [objectserver]="lns platform"
  [lns-reg]="lns platform"
  [XIF32BIN]="lns platform objectserver"
  [lns-host]="lns platform objectserver automation"
  [browser]="lns platform objectserver automation"
)
problems=0
problem() {
  echo "$1"
  problems=$((problems + 1))
}
while IFS= read -r file; do
  folder=${file#*/}
  folder=${folder%%/*}
  [[ -n ${may[$folder]+known} ]] || problem "$file: the folder $folder has no place in the include order"
done < <(find plugin lnssim -mindepth 2 \( -name '*.h' -o -name '*.cpp' \) -printf '%h/\n' | sort -u)
while IFS= read -r include; do
  file=${include%%:*} rest=${include#*:}
  line=${rest%%:*}
  folder=${file#*/}
  folder=${folder%%/*}
  [[ $rest =~ \"([^\"/]+)/ ]] || continue
  target=${BASH_REMATCH[1]}
  [[ $target == "$folder" || -z ${may[$folder]+known} ]] && continue
  if [[ $target == .* ]]; then
    problem "$file:$line: includes by a relative path"
  elif [[ -n ${may[$target]+known} && " ${may[$folder]} " != *" $target "* ]]; then
    problem "$file:$line: $folder/ includes $target/, which is not below it"
  fi
done < <(grep -rnE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' plugin lnssim)
((problems == 0)) && echo "every folder includes only the folders below it"
exit $((problems > 0))
