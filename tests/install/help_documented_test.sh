#!/usr/bin/env bash
# Every option that --help names is described in the manual page: for korvo
# the options of each command (from "korvo COMMAND --help" where a command
# has one, else from its usage line in "korvo --help") under the command's
# heading, the others under OPTIONS; for korvo-ide under OPTIONS. The bash
# completion offers every command and each command's options, and has a case
# for each option that takes a value, so that it offers no source files there.
# Usage: help_documented_test.sh SOURCE_DIR KORVO [KORVO_IDE]
set -euo pipefail
source=$1 korvo=$2 ide=${3:-}
status=0
fail() {
    echo "FAIL: $*" >&2
    status=1
}

# The options a text names ("-i", "--core", ...), one a line.
options_in() {
    { grep -oE -- '(^|[][ (|,])--?[[:alpha:]][[:alnum:]-]*' || true; } | sed -E 's/^[^-]*//' | sort -u
}
# The options in the item headings (the lines after .TP) of the part of a
# manual page from the line $2 to the next .SS or .SH.
described_in() {
    awk -v start="$2" '
        inside && /^\.S[SH]/ { inside = 0 }
        inside && after_item { print }
        { after_item = inside && $0 == ".TP" }
        $0 == start { inside = 1 }' "$1" | sed 's/\\-/-/g' | options_in
}
# Fails for each option of the list $3 (named by what $1 says) not in list $2.
expect_all() {
    local missing
    missing=$(comm -13 <(echo "$2") <(echo "$3"))
    [[ -z $missing ]] || fail "$1: "$missing
}

usage=$("$korvo" --help)
commands=$(awk '/^commands:/ { on = 1; next } on && /^  [a-z]/ { print $1 } on && /^$/ { exit }' \
    <<<"$usage")
[[ -n $commands ]] || fail "korvo --help lists no commands"
completion=$source/data/korvo.bash-completion
# The options of the completion's cases for the word before the cursor.
completed_after=$(sed -nE 's/^ *(-[^)]*)\)$/\1/p; s/^ *(-[^)]*\|) \\$/\1/p' "$completion" |
    tr '|' '\n' | tr -d ' ' | sort -u)
for command in $commands; do
    if ! help=$("$korvo" "$command" --help 2>&1); then
        help=$(grep -E "^  $command( |$)" <<<"$usage")
    fi
    options=$(options_in <<<"$help" | grep -vxE -- '--help|-h' || true)
    expect_all "man/korvo.1 does not describe under \"korvo $command\"" \
        "$(described_in "$source/man/korvo.1" ".SS \"korvo $command\"")" "$options"
    offered=$(sed -nE "s/^ *$command\) options='([^']*)'.*/\1/p" "$completion" | tr ' ' '\n' | sort -u)
    expect_all "the completion does not offer for $command" "$offered" "$options"
    valued=$(sed '/^$/q' <<<"$help" | grep -oE -- '\[--?[[:alpha:]][[:alnum:]-]* [^]|]' |
        sed -E 's/^\[//; s/ .*//' | sort -u || true)
    expect_all "the completion has no case for the value of" "$completed_after" "$valued"
    grep -qE "compgen -W '[^']*\b$command\b" "$completion" || fail "the completion lacks $command"
done
global=$( (grep -vE '^  ' <<<"$usage"; echo --help) | options_in)
expect_all "man/korvo.1 does not describe under OPTIONS" \
    "$(described_in "$source/man/korvo.1" ".SH OPTIONS")" "$global"

if [[ -n $ide ]]; then
    expect_all "man/korvo-ide.1 does not describe under OPTIONS" \
        "$(described_in "$source/man/korvo-ide.1" ".SH OPTIONS")" "$("$ide" --help | options_in)"
fi
exit $status
