# Bash completion for ralvo-schedule: subcommands, their options, the values
# of --basis, --method, --paper and --encoding, and the standard check-up
# plan for --checkups. Installed where bash-completion looks
# (share/bash-completion/completions/ralvo-schedule).

_ralvo_schedule()
{
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=
    ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}
    local input="--basis --year --month --day --cycle --crl --method --bpd --ga"
    local common="$input --name --set --defaults --settings -o --help"
    local options

    if ((COMP_CWORD == 1)); then
        COMPREPLY=($(compgen -W "text page calendar dates ics --help" -- "$cur"))
        return
    fi
    case $prev in
        --basis) COMPREPLY=($(compgen -W "0 1 2 ivf3 ivf5 crl bpd ga" -- "$cur")); return ;;
        --method) COMPREPLY=($(compgen -W "intergrowth robinson" -- "$cur")); return ;;
        --paper) COMPREPLY=($(compgen -W "a4 b5" -- "$cur")); return ;;
        --encoding) COMPREPLY=($(compgen -W "utf-8 shift-jis" -- "$cur")); return ;;
        --batch) COMPREPLY=($(compgen -f -X '!*.[cC][sS][vV]' -- "$cur") $(compgen -d -- "$cur")); return ;;
        --settings|-o) COMPREPLY=($(compgen -f -- "$cur")); return ;;
        --checkups) COMPREPLY=($(compgen -W "8,12,16,20,24,26,28,30,32,34,36,37,38,39" -- "$cur")); return ;;
        --year|--month|--day|--cycle|--name|--set|--dpi|--on|--born|--max-rows|--lmp|--crl|--bpd|--ga) return ;;
    esac
    case ${COMP_WORDS[1]} in
        text) options="$common --utf8" ;;
        page) options="$common --paper --dpi --batch --encoding --max-rows" ;;
        calendar) options="$common --paper --dpi --born --multiple --checkups" ;;
        dates) options="$input --on --multiple --born --lmp --checkups --json -o --help" ;;
        ics) options="$common --checkups --no-checkups --no-inu" ;;
        *) return ;;
    esac
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
}
complete -F _ralvo_schedule ralvo-schedule
