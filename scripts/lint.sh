#!/usr/bin/env bash
# Checks the sources against the tree's .clang-format and .clang-tidy; exit status 1 on any finding.
#
#   scripts/lint.sh          formatting of every source; clang-tidy on the changed sources
#   scripts/lint.sh --all    clang-tidy on every source too (minutes, see the README)
#
# "Changed" means: differing, committed or not, from the merge base of HEAD with the branch compared
# against, $LINT_BASE (default origin/main when it exists, else main), plus new files not yet added.
# When that base cannot be known (no such branch, a shallow clone without the base commit), or HEAD
# is the base itself with nothing uncommitted (a run on main), every source is checked. A changed
# header is checked through the sources that include it.
#
# clang-tidy reads the compile commands of the build in $BUILD_DIR (default build/, configured here
# when it has none); the window's sources also need the headers Qt's uic and moc generate, which the
# build's *_autogen targets make. Sources the build does not compile (bench/ without
# -DPHOTOCHECK_BENCH=ON, the fuzzers, another system's platform files) are named and passed over.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
all=false
[ "${1:-}" = "--all" ] && all=true
scripts/install-deps.sh clang-format clang-tidy

sources_in_git() { git ls-files -- '*.cpp' '*.h'; }

nothing_uncommitted() {
    git diff --quiet HEAD -- '*.cpp' '*.h' && [ -z "$(git ls-files --others --exclude-standard -- '*.cpp' '*.h')" ]
}

changed_sources() {
    local base_ref=${LINT_BASE:-} merge_base
    if [ -z "$base_ref" ]; then
        for ref in origin/main main; do
            if git rev-parse -q --verify "$ref^{commit}" >/dev/null; then base_ref=$ref; break; fi
        done
    fi
    merge_base=$([ -n "$base_ref" ] && git merge-base HEAD "$base_ref" 2>/dev/null || true)
    if [ -z "$merge_base" ] || { [ "$merge_base" = "$(git rev-parse HEAD)" ] && nothing_uncommitted; }; then
        echo "lint: no branch to compare with (base '${base_ref:-none}'): every source is checked" >&2
        sources_in_git
        return
    fi
    echo "lint: the sources changed since $(git rev-parse --short "$merge_base") (merge base with $base_ref)" >&2
    { git diff --name-only --diff-filter=d "$merge_base" -- '*.cpp' '*.h'
      git ls-files --others --exclude-standard -- '*.cpp' '*.h'; } | sort -u
}

echo "== clang-format: every source"
sources_in_git | tr '\n' '\0' | xargs -0 clang-format --dry-run -Werror

[ -f "$build_dir/compile_commands.json" ] ||
    cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} >/dev/null
compiled=$(grep -o '"file": "[^"]*"' "$build_dir/compile_commands.json" | sed 's/^"file": "//; s/"$//' |
           sed -n "s|^$PWD/||p" | sort -u)

# The compiled sources that stand for the selected files: the file itself, or those including a header.
units=()
if $all; then
    mapfile -t units < <(sources_in_git | grep -xF "$compiled")
    echo "lint: every source compiled in $build_dir (bench/ and the fuzzers only when configured)" >&2
else
    for file in $(changed_sources); do
        case "$file" in
            *.cpp) if grep -qxF "$file" <<<"$compiled"; then units+=("$file")
                   else echo "lint: $file is not compiled in $build_dir, passed over" >&2; fi ;;
            *.h) mapfile -t includers < <(grep -lF "#include \"$file\"" $compiled /dev/null || true)
                 [ ${#includers[@]} -gt 0 ] ||
                     echo "lint: no compiled source includes $file directly, passed over" >&2
                 units+=("${includers[@]}") ;;
        esac
    done
fi
mapfile -t units < <(printf '%s\n' "${units[@]}" | sed '/^$/d' | sort -u)
echo "== clang-tidy: ${#units[@]} sources"
[ ${#units[@]} -gt 0 ] || exit 0

if printf '%s\n' "${units[@]}" | grep -q '^\(app\|tests/app\)/'; then
    mapfile -t autogen < <(grep -o '[^/"]*_autogen/mocs_compilation.cpp' "$build_dir/compile_commands.json" |
                           sed 's|/mocs_compilation.cpp||' | sort -u)
    cmake --build "$build_dir" -j"$(nproc)" --target "${autogen[@]}" >/dev/null
fi

printf '%s\0' "${units[@]}" |
    xargs -0 -P"$(nproc)" -I{} sh -c 'out=$(clang-tidy -p "$1" --quiet "$2" 2>&1) || { printf "%s\n" "$out"; exit 1; }' \
          sh "$build_dir" {}
