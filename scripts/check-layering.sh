#!/usr/bin/env bash
# Lists each module's includes of other modules and fails on an edge the
# module graph forbids:
#   platform -> pictures -> calc -> settings -> kikanmei -> print, textout -> app
# with each ui/ half (platform/qt, settings/ui, kikanmei/ui, print/ui,
# textout/ui, app/ui) above its logic. Logic modules include no Qt Widgets or
# Qt Print Support header. The build enforces the same graph (each module sees
# only the headers of what it links); this check says it in one table.
#   scripts/check-layering.sh [-v]   (-v: print every module's edges)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
verbose=${1:-}

# What each module may include besides itself, the whole way down.
declare -A allowed=(
    [platform]=""
    [pictures]="platform"
    [calc]="platform"
    [settings]="calc platform"
    [kikanmei]="settings calc pictures platform"
    [print]="kikanmei settings calc pictures platform"
    [textout]="settings calc platform"
    [platform/qt]="pictures platform"
    [settings/ui]="settings kikanmei calc pictures platform platform/qt"
    [kikanmei/ui]="kikanmei settings calc pictures platform platform/qt"
    [print/ui]="print kikanmei settings calc pictures platform platform/qt"
    [textout/ui]="textout settings calc platform platform/qt"
    [app/cli]="print textout kikanmei settings calc pictures platform"
    [app/ui]="app/cli settings/ui kikanmei/ui print/ui textout/ui platform/qt print textout kikanmei settings calc pictures platform"
    [app]="app/ui"
)
logic="platform pictures calc settings kikanmei print textout app/cli"

module_of() { # path of a file or of an included header -> its module
    case $1 in
    platform/qt/*) echo platform/qt ;;
    */ui/*) echo "${1%%/ui/*}/ui" ;;
    app/cli/*) echo app/cli ;;
    */*) echo "${1%%/*}" ;;
    *) echo "" ;;
    esac
}

qt_include=$(find /usr/include -maxdepth 3 -type d -name QtWidgets -path '*qt6*' 2>/dev/null | head -1)
qt_include=${qt_include%/QtWidgets}

status=0
declare -A edges=()
while IFS= read -r file; do
    from=$(module_of "$file")
    [ -n "${allowed[$from]+x}" ] || continue
    while IFS= read -r line; do
        header=${line#*\"}; header=${header%%\"*}
        to=$(module_of "$header")
        [ -n "$to" ] && [ -n "${allowed[$to]+x}" ] || continue
        [ "$to" = "$from" ] && continue
        edges["$from -> $to"]=1
        if [[ " ${allowed[$from]} " != *" $to "* ]]; then
            echo "forbidden: $file includes $header ($from -> $to)"
            status=1
        fi
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]+"' "$file" || true)
    if [[ " $logic " == *" $from "* ]] && [ -n "$qt_include" ]; then
        while IFS= read -r line; do
            header=${line#*<}; header=${header%%>*}
            name=${header##*/}
            if [ -e "$qt_include/QtWidgets/$name" ] || [ -e "$qt_include/QtPrintSupport/$name" ]; then
                echo "forbidden: $file includes <$header> (a logic module using widgets or printing)"
                status=1
            fi
        done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]+<Q' "$file" || true)
    fi
done < <(git ls-files '*.h' '*.cpp' | grep -v '^tests/\|^benchmarks/\|^fuzz/')

if [ "$verbose" = -v ]; then
    printf '%s\n' "${!edges[@]}" | sort
fi
[ $status -eq 0 ] && echo "layering: ${#edges[@]} module edges, all allowed"
exit $status
