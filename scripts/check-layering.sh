#!/usr/bin/env bash
# Lists each module's includes of other modules and fails on an edge the
# module graph forbids. The graph is the one the build defines and enforces
# (each module sees only the headers of what it links): CMake writes it to
# <build>/ralvo-modules.txt when it configures (cmake/RalvoModule.cmake). A
# folder may include the folders of everything its modules link, the whole
# way down. A logic module (one that links neither Qt Widgets nor Qt Print
# Support, itself or below) includes no header of theirs.
#   scripts/check-layering.sh [-v] [BUILD-TREE]
#   -v: print the graph (each module and what it links) and every edge seen.
#   BUILD-TREE: a configured tree (default build/asan, else build/release;
#   without one, a scratch tree build/layering is configured).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
verbose=""
if [ "${1:-}" = -v ]; then verbose=-v; shift; fi
tree=${1:-}
# A tree named relative to where the script was started from.
[ -z "$tree" ] || [ -d "$tree" ] || { echo "$0: $tree is not a folder" >&2; exit 64; }
[ -z "$tree" ] || tree=$(cd "$tree" && pwd)
[ "$tree" != "$root" ] || { echo "$0: $tree is the source tree, not a build tree" >&2; exit 64; }
cd "$root"
if [ -z "$tree" ]; then
    for candidate in build/asan build/release; do
        [ -f "$candidate/ralvo-modules.txt" ] && { tree=$candidate; break; }
    done
fi
if [ -z "$tree" ] || [ ! -f "$tree/ralvo-modules.txt" ]; then
    tree=${tree:-build/layering}
    cmake -S "$root" -B "$tree" -G Ninja -DRALVO_BUILD_TESTS=OFF >"$root/build-layering.log" 2>&1 ||
        { cat "$root/build-layering.log" >&2; exit 1; }
    rm -f "$root/build-layering.log"
fi
graph="$tree/ralvo-modules.txt"

declare -A folder_of=() kind_of=() links_of=() allowed=()
folders=()
while read -r folder target kind links; do
    [ -n "$folder" ] || continue
    folder_of[$target]=$folder
    kind_of[$target]=$kind
    links_of[$target]=$links
    [[ " ${folders[*]} " == *" $folder "* ]] || folders+=("$folder")
done <"$graph"

closure() { # target -> every project library below it, itself excluded
    local seen=" " todo=(${links_of[$1]}) next
    while [ ${#todo[@]} -gt 0 ]; do
        next=${todo[0]}; todo=("${todo[@]:1}")
        [[ "$seen" == *" $next "* ]] && continue
        seen+="$next "
        todo+=(${links_of[$next]:-})
    done
    echo "$seen"
}
declare -A widgets_folder=()
for target in "${!folder_of[@]}"; do
    folder=${folder_of[$target]}
    below=$(closure "$target")
    [ "${kind_of[$target]}" = widgets ] && widgets_folder[$folder]=1
    for lib in $below; do
        [ "${kind_of[$lib]}" = widgets ] && widgets_folder[$folder]=1
        to=${folder_of[$lib]}
        [ "$to" = "$folder" ] && continue
        [[ " ${allowed[$folder]:-} " == *" $to "* ]] || allowed[$folder]="${allowed[$folder]:-} $to"
    done
done

module_of() { # path of a file or of an included header -> its module folder
    local dir=${1%/*} best=""
    [ "$dir" = "$1" ] && { echo ""; return; }
    for folder in "${folders[@]}"; do
        if [ "$dir" = "$folder" ] || [[ "$dir" == "$folder"/* ]]; then
            [ ${#folder} -gt ${#best} ] && best=$folder
        fi
    done
    echo "$best"
}

qt_include=$(find /usr/include -maxdepth 3 -type d -name QtWidgets -path '*qt6*' 2>/dev/null | head -1)
qt_include=${qt_include%/QtWidgets}

status=0
declare -A edges=()
while IFS= read -r file; do
    from=$(module_of "$file")
    [ -n "$from" ] || continue
    while IFS= read -r line; do
        header=${line#*\"}; header=${header%%\"*}
        to=$(module_of "$header")
        [ -n "$to" ] && [ "$to" != "$from" ] || continue
        edges["$from -> $to"]=1
        if [[ " ${allowed[$from]:-} " != *" $to "* ]]; then
            echo "forbidden: $file includes $header ($from -> $to)"
            status=1
        fi
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]+"' "$file" || true)
    if [ -z "${widgets_folder[$from]:-}" ] && [ -n "$qt_include" ]; then
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
    echo "modules (folder, library, logic or widgets: what it links):"
    while read -r folder target _ links; do
        [ -n "$folder" ] || continue
        kind=logic
        [ -n "${widgets_folder[$folder]:-}" ] && kind=widgets
        printf '  %-12s %-20s %-7s: %s\n' "$folder" "$target" "$kind" "${links:-(nothing of ours)}"
    done <"$graph"
    echo "include edges between folders:"
    printf '  %s\n' "${!edges[@]}" | sort
fi
[ $status -eq 0 ] && echo "layering: ${#edges[@]} module edges, all allowed"
exit $status
