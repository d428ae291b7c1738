#!/usr/bin/env bash
# cmake --install into a scratch prefix gives the tree a desktop installation
# needs: programs that run from there and find their examples, a valid
# desktop entry, metainfo and manual pages, and icons of the sizes they claim.
# Usage: install_tree_test.sh CMAKE BUILD_DIR SOURCE_DIR VERSION GUI(ON|OFF)
set -euo pipefail
cmake=$1 build=$2 source=$3 version=$4 gui=$5
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
# Output nobody reads goes to a file of the scratch prefix.
out=$prefix/out.txt
"$cmake" --install "$build" --prefix "$prefix" >"$out"

status=0
fail() {
    echo "FAIL: $*" >&2
    status=1
}
# Runs a validator when it is installed; CI installs them all.
validate() {
    if command -v "$1" >"$out"; then
        "$@" >"$out" || fail "$* reports problems"
    else
        echo "note: $1 is not installed; not checked"
    fi
}
on_gui() { [[ $gui == ON ]]; }

expected=(bin/korvo share/man/man1/korvo.1.gz share/bash-completion/completions/korvo
          share/doc/korvo-ide/copyright share/doc/korvo-ide/changelog.gz)
on_gui && expected+=(bin/korvo-ide share/man/man1/korvo-ide.1.gz
                     share/applications/korvo-ide.desktop share/mime/packages/korvo-ide.xml
                     share/icons/hicolor/scalable/apps/korvo-ide.svg)
for file in "${expected[@]}"; do
    [[ -f $prefix/$file ]] || fail "$file is not installed"
done
examples=$prefix/share/korvo/examples
for example in "$source"/examples/*.psm "$source"/examples/*.txt; do
    cmp -s "$example" "$examples/${example##*/}" || fail "example ${example##*/} is not installed"
done

[[ $("$prefix/bin/korvo" --version) == "Korvo IDE $version" ]] || fail "installed korvo --version"
# An empty settings file: the user's settings play no part.
: >"$prefix/settings.ini"
"$prefix/bin/korvo" asm --core 3 --no-exec --settings "$prefix/settings.ini" \
    "$examples/fibonacci_pbt3.psm" >"$out" || fail "installed korvo cannot assemble an example"
for page in "$prefix"/share/man/man1/*; do
    if command -v man >"$out"; then
        warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >"$out")
        [[ -z $warnings ]] || fail "man ${page##*/}: $warnings"
    else
        echo "note: man is not installed; manual pages not checked"
    fi
done

if on_gui; then
    [[ $("$prefix/bin/korvo-ide" --version) == "Korvo IDE $version" ]] ||
        fail "installed korvo-ide --version"
    "$prefix/bin/korvo-ide" --help | grep -qxF "Example programs: $(cd "$examples" && pwd -P)" ||
        fail "installed korvo-ide does not find its examples in $examples"
    manual=$prefix/share/korvo/manual/korvo-ide.html
    cmp -s "$source/docs/manual/korvo-ide.html" "$manual" || fail "the manual is not installed"
    "$prefix/bin/korvo-ide" --help | grep -qxF "User manual: $(cd "${manual%/*}" && pwd -P)/${manual##*/}" ||
        fail "installed korvo-ide does not find its manual $manual"
    for size in 16 22 24 32 48 64 128 256 512; do
        png=$prefix/share/icons/hicolor/${size}x$size/apps/korvo-ide.png
        # The width and height of a PNG: big-endian words at bytes 16 and 20.
        read -r -a header < <(od -An -tu1 -j16 -N8 "$png" 2>"$out" || true)
        if [[ ${#header[@]} -ne 8 ]]; then
            fail "no icon $png"
            continue
        fi
        width=$(((header[0] << 24) | (header[1] << 16) | (header[2] << 8) | header[3]))
        height=$(((header[4] << 24) | (header[5] << 16) | (header[6] << 8) | header[7]))
        [[ $width == "$size" && $height == "$size" ]] || fail "$png is ${width}x$height"
    done
    metainfo=("$prefix"/share/metainfo/*.metainfo.xml)
    [[ ${#metainfo[@]} == 1 && -f ${metainfo[0]} ]] || fail "not one metainfo file: ${metainfo[*]}"
    grep -q "<release version=\"$version\"" "${metainfo[0]}" || fail "metainfo lacks release $version"
    validate desktop-file-validate "$prefix/share/applications/korvo-ide.desktop"
    validate appstreamcli validate --no-net "${metainfo[0]}"
fi
exit $status
