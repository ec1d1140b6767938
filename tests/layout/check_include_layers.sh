#!/usr/bin/env bash
# check_include_layers.sh DEVHOST_DIR: each of the development host's folders includes only from
# itself and the folders before it in this order, so that no library reaches up into one built on
# it. Names each include that does.
set -euo pipefail
cd "$1"
layers=(sdk system symbols core ui render output window app)
rank() {
  local i
  for i in "${!layers[@]}"; do [[ ${layers[$i]} == "$1" ]] && { echo "$i"; return; }; done
  echo -1
}
found=0
for folder in */; do
  folder=${folder%/}
  own=$(rank "$folder")
  if ((own < 0)); then
    [[ $folder == scenes ]] && continue
    echo "devhost/$folder has no place in the order: ${layers[*]}"
    found=1
    continue
  fi
  while IFS=: read -r file line include; do
    target=${include#*\"}
    target=${target%%/*}
    if (($(rank "$target") > own)); then
      echo "devhost/$file:$line includes from $target/, which is built on $folder/"
      found=1
    fi
  done < <(grep -rn '^#include "' "$folder" --include='*.h' --include='*.cpp' || true)
done
if ((found == 0)); then echo "every folder includes only from itself and those before it"; fi
exit "$found"
