#!/usr/bin/env bash
# Installs the Debian packages the project needs, asking apt only when one of
# them is missing. Usage: setup.sh run|test [--list]
#   run   what building and running need: scripts/packages.d/run*.txt
#   test  that and what testing adds:     scripts/packages.d/*.txt (test*.txt too)
#   --list  print the packages instead of installing them
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
case "${1:-}" in
    run) lists=("$here"/packages.d/run*.txt) ;;
    test) lists=("$here"/packages.d/*.txt) ;;
    *) echo "usage: $0 run|test [--list]" >&2; exit 64 ;;
esac
mapfile -t wanted < <(cat "${lists[@]}" | sed 's/#.*//' | tr -s ' \t' '\n' | sed '/^$/d' | sort -u)
if [ "${2:-}" = --list ]; then
    printf '%s\n' "${wanted[@]}"
    exit 0
fi
missing=()
for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
