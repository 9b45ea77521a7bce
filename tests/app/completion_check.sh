#!/usr/bin/env bash
# The bash completion of ralvo-schedule offers the subcommands, each one's
# options, the values of --basis, --method, --paper and --encoding and the
# standard check-up plan.
set -u
source "$1"
failed=0
expect() { # expect "words typed" "wanted replies"
    read -r -a COMP_WORDS <<<"$1"
    [[ $1 == *' ' ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _ralvo_schedule
    local got="${COMPREPLY[*]}"
    if [[ $got != "$2" ]]; then
        echo "'$1': got '$got', wanted '$2'"
        failed=1
    fi
}
expect "ralvo-schedule " "text page calendar dates ics --help"
expect "ralvo-schedule c" "calendar"
expect "ralvo-schedule calendar --b" "--basis --bpd --born"
expect "ralvo-schedule calendar --m" "--month --method --multiple"
expect "ralvo-schedule i" "ics"
expect "ralvo-schedule ics --d" "--day --defaults"
expect "ralvo-schedule da" "dates"
expect "ralvo-schedule page --basis " "0 1 2 ivf3 ivf5 crl bpd ga"
expect "ralvo-schedule ics --basis c" "crl"
expect "ralvo-schedule text --method " "intergrowth robinson"
expect "ralvo-schedule page --cr" "--crl"
expect "ralvo-schedule dates --l" "--lmp"
expect "ralvo-schedule dates --g" "--ga"
expect "ralvo-schedule dates --crl " ""
expect "ralvo-schedule dates --lmp " ""
expect "ralvo-schedule text --basis iv" "ivf3 ivf5"
expect "ralvo-schedule page --paper " "a4 b5"
expect "ralvo-schedule page --b" "--basis --bpd --batch"
expect "ralvo-schedule dates --m" "--month --method --multiple"
expect "ralvo-schedule text --u" "--utf8"
expect "ralvo-schedule dates --year " ""
expect "ralvo-schedule dates --b" "--basis --bpd --born"
expect "ralvo-schedule dates --born " ""
expect "ralvo-schedule ics --no" "--no-checkups --no-inu"
expect "ralvo-schedule ics --checkups " "8,12,16,20,24,26,28,30,32,34,36,37,38,39"
expect "ralvo-schedule dates --ch" "--checkups"
expect "ralvo-schedule page --batch a.csv --e" "--encoding"
expect "ralvo-schedule page --encoding " "utf-8 shift-jis"
expect "ralvo-schedule page --m" "--month --method --max-rows"
expect "ralvo-schedule page --max-rows " ""
exit $failed
