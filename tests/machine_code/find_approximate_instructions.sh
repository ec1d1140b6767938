#!/usr/bin/env bash
# find_approximate_instructions.sh OBJDUMP FILE...: fails naming each function of the executables,
# modules and static libraries given that holds an approximate reciprocal or reciprocal square root
# (rcpss, rsqrtps, vrcp14ps, ...). Their bits differ from one CPU maker or model to the next, so
# nothing on the way to a pixel may use them.
set -euo pipefail
objdump=$1
shift
disassembly=$(mktemp)
trap 'rm -f "$disassembly"' EXIT
found=0
for file in "$@"; do
  # Function headers are "ADDRESS <name>:", instructions "ADDRESS:<tab>mnemonic operands".
  if ! "$objdump" -d -C --no-show-raw-insn "$file" >"$disassembly" 2>&1; then
    echo "$file: $objdump cannot read it: $(head -1 "$disassembly")"
    found=1
    continue
  fi
  hits=$(awk -F'\t' '
    /^[0-9a-f]+ <.*>:$/ { function_name = substr($0, index($0, "<") + 1); sub(/>:$/, "", function_name) }
    NF >= 2 {
      split($2, words, " ")
      if (words[1] ~ /^v?(rcp|rsqrt)(ss|ps|sh|ph)$|^vrcp(14|28)(ss|sd|ps|pd)$|^vrsqrt(14|28)(ss|sd|ps|pd)$|^pfr(cp|sqrt)/)
        print function_name ": " words[1]
    }' "$disassembly" | sort | uniq -c | awk '{ n = $1; $1 = ""; print "  " substr($0, 2) " (" n ")" }')
  if [[ -n $hits ]]; then
    echo "$file has approximate instructions, whose results depend on the CPU:"
    echo "$hits"
    found=1
  fi
done
if ((found == 0)); then echo "no approximate instructions in $# files"; fi
exit "$found"
