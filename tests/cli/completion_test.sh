#!/usr/bin/env bash
# The bash completion of ostrova-cfg, called as bash calls it: COMP_WORDS and COMP_CWORD set,
# the replies read from COMPREPLY. Usage: completion_test.sh PROGRAM COMPLETION_FILE
set -uo pipefail
program=$1
# shellcheck source=/dev/null
source "$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir cards
touch a.cfg B.BIN old.bin x.Bak notes.txt fields.json

failed=0
# expect "WORDS..." "REPLIES": the last word is the one being completed; the replies sorted.
expect() {
  local -a words
  read -r -a words <<<"$1"
  [[ -z $1 || $1 == *" " ]] && words+=("")
  COMP_WORDS=("$program" "${words[@]}")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _ostrova_cfg
  local got
  got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd ' ')
  if [[ $got != "$2" ]]; then
    echo "ostrova-cfg $1<TAB>: expected [$2], got [$got]"
    failed=1
  fi
}

# The subcommands are those the program's help lists.
commands=$("$program" --help |
  awk '/^Subcommands:/ { on = 1; next } on && /^  [a-z]/ { print $1 }' | sort | xargs)
[[ $commands == *convert*show* ]] || { echo "no subcommands in the help: [$commands]"; exit 1; }
expect "" "$commands"
expect "c" "check convert"
expect "--" "--help --version"
# Options, and their values.
expect "show --" "--form --help --json"
expect "check -" "--form --help --verbose -h -v"
expect "convert --f" "--force --form"
expect "show --form " "bin cfg"
expect "diff --form-b c" "cfg"
expect "show --form = " "bin cfg"
expect "show --form =" "bin cfg"
expect "set a.cfg --time " ""
expect "set a.cfg --from-json " "cards fields.json"
# Settings files and folders, in any case; nothing else.
expect "show " "B.BIN a.cfg cards old.bin x.Bak"
expect "check -v --form bin " "B.BIN a.cfg cards old.bin x.Bak"
expect "convert a.cfg o" "old.bin"
# Field names after the file of set and new: the fields that set takes, none that a save writes.
fields=$("$program" fields | awk '{ print $1 "=" }' | sort | paste -sd ' ')
[[ $fields == *maxNum=* && $fields != *version* && $fields != *save* ]] ||
  { echo "not the settable fields: [$fields]"; exit 1; }
expect "set a.cfg " "$fields"
expect "set a.cfg ver" ""
expect "set --form cfg " "B.BIN a.cfg cards old.bin x.Bak"
expect "set a.cfg send" "sendMode= sendTo= sendVia="
expect "set --form cfg a.cfg maxNum = 5 phone" "phone[1]= phone[2]= phone[3]= phone[4]="
expect "new out.cfg --force image" "imageFrom= imageQuality="
# Values of choice fields and presets' countries, blanks escaped; nothing for a free text.
expect "set a.cfg sendMode = " "Daily\\ Report Instant Off"
expect "new o.cfg sendMode = Da" "Daily\\ Report"
expect "set a.cfg phone[1] = " ""
expect "presets N" "New\\ Zealand Norway"
expect "presets -v Sw" "Sweden Switzerland"
# A program that is not there completes nothing.
program=$work/none expect "" ""

((failed)) && exit 1
echo "completion: every case as expected"
