#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The bash completion parses, and offers for --type exactly the types that
# pelmora-batch --help lists.
# Usage: completion_test.sh COMPLETION-SCRIPT PELMORA-BATCH
set -euo pipefail
script=$1 batch=$2

bash -n "$script"
offered=$(bash -c 'source "$1"; COMP_WORDS=(pelmora-batch --type ""); COMP_CWORD=2; _pelmora_batch
                   echo "${COMPREPLY[*]}"' _ "$script")
listed=$(LANG=C "$batch" --help | sed -n 's/^ *--type TYPE *one of \(.*\);.*/\1/p' | tr -d ,)
if [ -z "$listed" ] || [ "$offered" != "$listed" ]; then
  echo "--type completes to '$offered'; --help lists '$listed'" >&2
  exit 1
fi
