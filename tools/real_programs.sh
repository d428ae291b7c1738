#!/usr/bin/env bash
# Runs "korvo import --check" over real KCPSM3 and KCPSM6 programs, each
# against what the vendor's assembler wrote for it (.hex, .log or ROM
# .vhd/.v), and prints per kind how many convert word for word.
#
# The programs are not part of this tree: tools/real_programs.txt lists where
# each comes from (kind, repository, commit, source, assembler output). The
# local copies live in a folder laid out as FOLDER/OWNER/NAME/COMMIT/PATH.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
list=$here/real_programs.txt
korvo=korvo
get=0

usage() {
    cat <<'TEXT'
usage: tools/real_programs.sh [--korvo KORVO] [--list LIST] [--get] FOLDER

Checks every program of LIST (default: tools/real_programs.txt) whose copy is
in FOLDER/OWNER/NAME/COMMIT/: converts the source with "KORVO import --check OUTPUT"
(KORVO defaults to korvo on the PATH) and prints, for kcpsm3 and kcpsm6, the
number of programs whose every word agrees with the assembler's output, the
total, and each failure with the first lines korvo printed. Exit status 0
when all agree, 1 otherwise, 2 for bad usage.

--get first makes the copies that are missing: it clones each repository from
GitHub (network needed) into FOLDER/.git/OWNER/NAME and writes the tree of
each listed commit into FOLDER/OWNER/NAME/COMMIT. Not run in CI.

LIST lines: KIND OWNER/NAME COMMIT SOURCE OUTPUT, fields separated by blanks
(a blank inside a path written %20), "#" starts a comment. KIND is kcpsm3 or
kcpsm6.
TEXT
}

while (($#)); do
    case $1 in
    --korvo) korvo=$2; shift 2 ;;
    --list) list=$2; shift 2 ;;
    --get) get=1; shift ;;
    -h | --help) usage; exit 0 ;;
    -*) usage >&2; exit 2 ;;
    *) break ;;
    esac
done
(($# == 1)) || { usage >&2; exit 2; }
folder=$1
[[ -r $list ]] || { echo "real_programs.sh: cannot read $list" >&2; exit 2; }

entries() { sed -e 's/#.*//' "$list" | awk 'NF == 5'; }

if ((get)); then
    while read -r kind repo commit source output; do
        git=$folder/.git/$repo dir=$folder/$repo/$commit
        [[ -d $dir ]] && continue
        [[ -d $git ]] || git clone --quiet --bare "https://github.com/$repo.git" "$git" || continue
        # Into a folder of its own first, so that a failed copy leaves nothing.
        rm -rf "$dir.part" && mkdir -p "$dir.part" &&
            git --git-dir="$git" archive "$commit" | tar -x -C "$dir.part" &&
            mv "$dir.part" "$dir" || {
            rm -rf "$dir.part"
            echo "real_programs.sh: cannot write $repo at $commit" >&2
        }
    done < <(entries | sort -u -k2,3)
fi

declare -A agree total
failures=""
while read -r kind repo commit source output; do
    source=${source//%20/ } output=${output//%20/ }
    total[$kind]=$((${total[$kind]:-0} + 1))
    dir=$folder/$repo/$commit
    if [[ ! -f $dir/$source || ! -f $dir/$output ]]; then
        failures+="$kind $repo $source: no local copy"$'\n'
        continue
    fi
    options=()
    [[ $kind == kcpsm6 ]] && options+=(--kcpsm6)
    if result=$("$korvo" import "${options[@]}" --check "$dir/$output" "$dir/$source" 2>&1); then
        agree[$kind]=$((${agree[$kind]:-0} + 1))
    else
        failures+="$kind $repo $source:"$'\n'$(grep -v "^korvo import: renamed" <<<"$result" | head -n 4 | sed 's/^/    /')$'\n'
    fi
done < <(entries)

status=0
for kind in kcpsm3 kcpsm6; do
    echo "$kind: ${agree[$kind]:-0} / ${total[$kind]:-0} word for word"
    ((${agree[$kind]:-0} == ${total[$kind]:-0})) || status=1
done
if [[ -n $failures ]]; then
    echo
    echo "failures:"
    printf '%s' "$failures"
fi
exit $status
