#!/usr/bin/env bash
# check_demo_picture.sh SOURCE_DIR DEVHOST WORK_DIR: the demo's picture must be docs/demo.png byte
# for byte, also with glibc choosing the maths routines of a CPU without AVX2 or FMA.
set -euo pipefail
source_dir=$1 devhost=$2 work=$3
mkdir -p "$work"
for cpu in this baseline; do
  picture=$work/demo-$cpu.png
  rm -f "$picture"
  if [[ $cpu == baseline ]]; then
    export GLIBC_TUNABLES=glibc.cpu.hwcaps=-AVX2,-FMA,-AVX512F,-AVX
  fi
  "$source_dir/scripts/demo-picture" "$devhost" "$picture" 2>/dev/null
  if ! cmp -s "$picture" "$source_dir/docs/demo.png"; then
    echo "the demo draws $picture ($cpu CPU's maths routines), not docs/demo.png; if the change is" \
         "meant, refresh the references with scripts/update-golden"
    exit 1
  fi
done
echo "the demo draws docs/demo.png, byte for byte"
