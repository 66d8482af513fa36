#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The shared library shows the engine's interface and nothing else: every symbol it exports
# is of namespace Korvatel and names a class, function or object that a public header
# declares; no helper of an anonymous namespace or of a detail part escapes.
#
#   exports.sh LIBRARY PUBLIC_HEADER...
set -euo pipefail

library=${1:?usage: $0 LIBRARY PUBLIC_HEADER...}
shift
headers=("$@")

symbols=$(nm -D --defined-only --demangle "$library" | cut -d' ' -f3-)
count=$(wc -l <<<"$symbols")
faults=0
fault() {
    echo "$1: $2" >&2
    faults=$((faults + 1))
}

# The names the public headers declare, once.
declared=$(cat "${headers[@]}" | grep -oE '\b[A-Za-z_][A-Za-z0-9_]*\b' | sort -u)

while IFS= read -r symbol; do
    # What the compiler makes for a class (its table, type information, thunks) belongs to it.
    name=$(sed -E 's/^(vtable for |typeinfo for |typeinfo name for |VTT for |guard variable for |(non-)?virtual thunk to |covariant return thunk to )//' <<<"$symbol")
    case $name in
        *"(anonymous namespace)"*) fault "$symbol" "of an anonymous namespace"; continue ;;
        *::[Dd]etail::*|*Detail::*) fault "$symbol" "a detail helper"; continue ;;
        Korvatel::*) ;;
        *) fault "$symbol" "outside namespace Korvatel"; continue ;;
    esac
    # The first name inside the namespace: a class, a free function or an object.
    first=$(sed -E 's/^Korvatel::([A-Za-z_][A-Za-z0-9_]*).*/\1/' <<<"$name")
    if ! grep -qx -- "$first" <<<"$declared"; then
        fault "$symbol" "$first is in no public header"
    fi
done <<<"$symbols"

echo "$count symbols exported, $faults of them not the engine's public interface"
[ "$faults" -eq 0 ]
