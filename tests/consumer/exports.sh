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

# The names the public headers declare, once.
declared=$(cat "${headers[@]}" | grep -oE '\b[A-Za-z_][A-Za-z0-9_]*\b' | sort -u)

# One pass over the symbols: a loop that started a process per symbol took most of a minute.
faults=$(awk -v declaredList="$declared" '
    BEGIN {
        n = split(declaredList, names, "\n")
        for (i = 1; i <= n; ++i) declared[names[i]] = 1
        faults = 0
    }
    function fault(symbol, why) { print symbol ": " why > "/dev/stderr"; ++faults }
    {
        symbol = $0
        # What the compiler makes for a class (its table, type information, thunks) belongs to it.
        name = symbol
        sub(/^(vtable for |typeinfo for |typeinfo name for |VTT for |guard variable for |(non-)?virtual thunk to |covariant return thunk to )/, "", name)
        if (index(name, "(anonymous namespace)") > 0) { fault(symbol, "of an anonymous namespace"); next }
        if (name ~ /::[Dd]etail::|Detail::/) { fault(symbol, "a detail helper"); next }
        if (name !~ /^Korvatel::/) { fault(symbol, "outside namespace Korvatel"); next }
        # The first name inside the namespace: a class, a free function or an object.
        first = substr(name, 11)
        match(first, /^[A-Za-z_][A-Za-z0-9_]*/)
        first = substr(first, 1, RLENGTH)
        if (!(first in declared)) fault(symbol, first " is in no public header")
    }
    END { print faults }' <<<"$symbols")

echo "$count symbols exported, $faults of them not the engine's public interface"
[ "$faults" -eq 0 ]
