#!/usr/bin/env bash
# Checks the packages that `make package` builds: run.sh [PACKAGE_DIR] (build/package by default).
# The .deb is unpacked into a scratch root with dpkg -x and checked file by file, then judged by lintian
# (its warnings are printed, only its errors fail); the zip is listed and its texts read.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
packages=${1:-$source_dir/build/package}

version=$(sed -n 's/^project(Quillbox VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
deb=$packages/quillbox_${version}_amd64.deb
zip=$packages/quillbox-${version}-win64.zip

passed=0
failed=0
ok() {
    passed=$((passed + 1))
    echo "ok   $1"
}
fail() {
    failed=$((failed + 1))
    echo "FAIL $1"
}
# check DESCRIPTION COMMAND...: one check that passes when COMMAND succeeds.
check() {
    local description=$1
    shift
    if "$@"; then ok "$description"; else fail "$description"; fi
}
summary() {
    if [ "$failed" -eq 0 ]; then
        echo "package: $passed checks passed"
    else
        echo "package: $failed of $((passed + failed)) checks failed"
    fi
    [ "$failed" -eq 0 ]
}

[ -n "$version" ] || { fail "the project version is read from CMakeLists.txt"; summary; exit; }
for file in "$deb" "$zip"; do
    [ -f "$file" ] || { fail "$(basename "$file") was built (in $packages)"; summary; exit; }
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
dpkg -x "$deb" "$root" || { fail "dpkg -x unpacks the .deb"; summary; exit; }

# --- Every file of the .deb, with its mode; nothing else may be in it (a test helper, the icon tool, or an
# entry in /etc/xdg/autostart that would start Quillbox for every user).
expected=(
    "-rwxr-xr-x usr/bin/quillbox"
    "-rw-r--r-- usr/share/applications/quillbox.desktop"
    "-rw-r--r-- usr/share/quillbox/autostart/quillbox.desktop"
    "-rw-r--r-- usr/share/man/man1/quillbox.1.gz"
    "-rw-r--r-- usr/share/doc/quillbox/copyright"
    "-rw-r--r-- usr/share/doc/quillbox/changelog.gz"
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("-rw-r--r-- usr/share/icons/hicolor/${size}x${size}/apps/quillbox.png")
done
listing=$(dpkg-deb -c "$deb")
actual=$(awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $1, $6 }' <<<"$listing" | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)
if [ "$actual" = "$wanted" ]; then
    ok "the .deb holds exactly the ${#expected[@]} expected files, with their modes"
else
    fail "the .deb holds exactly the ${#expected[@]} expected files, with their modes"
    diff <(echo "$wanted") <(echo "$actual") | sed -n 's/^[<>]/    &/p'
fi
check "every entry of the .deb belongs to root:root" \
    test -z "$(awk '$2 != "root/root"' <<<"$listing")"
check "no directory outside /usr (no /etc/xdg/autostart)" \
    test -z "$(awk '{ sub(/^\.\//, "", $6) } $6 != "" && $6 !~ /^usr\//' <<<"$listing")"

# --- The control fields; Depends comes from dpkg-shlibdeps, so it names the Qt library the binary links.
control() { dpkg-deb -f "$deb" "$1"; }
fields=(
    "Package|quillbox"
    "Version|$version"
    "Architecture|amd64"
    "Section|utils"
)
for row in "${fields[@]}"; do
    IFS='|' read -r field value <<<"$row"
    check "control field $field is $value (got '$(control "$field")')" test "$(control "$field")" = "$value"
done
check "control field Maintainer names someone with an address" grep -Eq '^[^<]+ <[^@ ]+@[^> ]+>$' <<<"$(control Maintainer)"
depends=$(control Depends)
for library in libqt6widgets6 libc6 libxcb-xfixes0; do
    check "Depends names $library, found by dpkg-shlibdeps" grep -Eq "(^|, )$library( |,|$)" <<<"$depends"
done
check "Description has a synopsis and an extended description" \
    test "$(control Description | wc -l)" -ge 3

# --- The program: a stripped x86-64 executable whose libraries resolve; without a display it says so and exits 2.
check "usr/bin/quillbox is a stripped x86-64 executable" \
    grep -Eq 'ELF 64-bit .*x86-64.*, stripped' <<<"$(file -b "$root/usr/bin/quillbox")"
start=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 "$root/usr/bin/quillbox" 2>&1)
status=$?
check "the installed program starts and, without a display, exits 2 (got $status)" test "$status" -eq 2
check "the installed program says that there is no display" grep -q 'no X11 display' <<<"$start"

# --- The desktop entries: valid, and pointing at what the package installs.
for entry in usr/share/applications/quillbox.desktop usr/share/quillbox/autostart/quillbox.desktop; do
    report=$(desktop-file-validate "$root/$entry" 2>&1)
    check "desktop-file-validate accepts $entry${report:+: $report}" test -z "$report"
    exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$root/$entry")
    check "$entry runs a program the package installs (Exec=$exec)" test -x "$root/usr/bin/$exec"
    icon=$(sed -n 's/^Icon=//p' "$root/$entry")
    check "$entry shows an icon the package installs (Icon=$icon)" \
        test -f "$root/usr/share/icons/hicolor/48x48/apps/$icon.png"
done

# --- The compressed files, as lintian wants them: gzip -9 (XFL 2), no file name (FLG bit 3), no time stamp.
for gz in usr/share/man/man1/quillbox.1.gz usr/share/doc/quillbox/changelog.gz; do
    header=$(od -An -tu1 -N9 "$root/$gz" | tr -s ' ' | sed 's/^ //')
    read -r id1 id2 method flags mtime0 mtime1 mtime2 mtime3 xfl <<<"$header"
    check "$gz is gzip with maximum compression" test "$id1 $id2 $method $xfl" = "31 139 8 2"
    check "$gz stores neither a name nor a time stamp" \
        test $((flags & 8)) -eq 0 -a "$mtime0$mtime1$mtime2$mtime3" = "0000"
done

# --- The manual page renders without a warning, in the locale lintian uses.
page=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l --warnings "$root/usr/share/man/man1/quillbox.1.gz" 2>"$scratch/man.err")
warnings=$(cat "$scratch/man.err")
check "man -l renders quillbox(1) without warnings${warnings:+: $warnings}" test -z "$warnings"
check "quillbox(1) has its NAME line" grep -q '^ *quillbox - ' <<<"$page"
zcat "$root/usr/share/doc/quillbox/changelog.gz" >"$scratch/changelog"
check "the changelog parses and is for version $version" \
    test "$(dpkg-parsechangelog -l "$scratch/changelog" -S Version 2>&1)" = "$version"

# --- The copyright file is LICENSE in Debian's machine-readable format.
copyright=$root/usr/share/doc/quillbox/copyright
check "copyright declares Debian's copyright format" \
    test "$(head -n 1 "$copyright")" = "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
holders=$(sed -n 's/^Copyright (c) //p' "$source_dir/LICENSE")
check "copyright names the holders of LICENSE ($holders)" grep -qx "Copyright: $holders" "$copyright"
terms_in_copyright=$(sed -n '/^License: Expat$/,$p' "$copyright" | tail -n +2 | sed 's/^ //; s/^\.$//')
terms_in_licence=$(sed -n '/^Permission is hereby granted/,$p' "$source_dir/LICENSE")
check "copyright holds the terms of LICENSE under License: Expat" test "$terms_in_copyright" = "$terms_in_licence"

# --- The zip: the program and its two texts, with Windows line ends.
members=$(unzip -Z1 "$zip" | sort)
check "the zip holds exactly quillbox.exe, README.txt and LICENSE.txt (got: $(tr '\n' ' ' <<<"$members"))" \
    test "$members" = "$(printf '%s\n' LICENSE.txt README.txt quillbox.exe)"
unzip -q -d "$scratch/zip" "$zip"
check "quillbox.exe is a 64-bit Windows GUI program" \
    grep -q 'PE32+ executable (GUI) x86-64' <<<"$(file -b "$scratch/zip/quillbox.exe")"
for text in README.txt LICENSE.txt; do
    lines=$(tr -cd '\n' <"$scratch/zip/$text" | wc -c)
    crlfs=$(grep -c $'\r$' "$scratch/zip/$text")
    check "$text ends each of its $lines lines with CR LF" test "$lines" -gt 0 -a "$crlfs" -eq "$lines" -a \
        "$(tail -c 2 "$scratch/zip/$text" | od -An -c | tr -d ' ')" = '\r\n'
done

# --- One version everywhere: the package, the manual page, the Windows version information and README.txt.
exe_strings=$(strings -el "$scratch/zip/quillbox.exe")
places=(
    "the .deb's Version|$(control Version)"
    "the manual page's footer|$(grep -o "Quillbox [0-9.]*" <<<"$page" | tail -n 1 | cut -d' ' -f2)"
    "the exe's FileVersion|$(grep -A1 -x FileVersion <<<"$exe_strings" | tail -n 1)"
    "the exe's ProductVersion|$(grep -A1 -x ProductVersion <<<"$exe_strings" | tail -n 1)"
    "README.txt's title|$(head -n 1 "$scratch/zip/README.txt" | tr -d '\r' | cut -d' ' -f2)"
)
for row in "${places[@]}"; do
    IFS='|' read -r place value <<<"$row"
    check "$place is $version (got '$value')" test "$value" = "$version"
done

# --- lintian: warnings and notes are printed, errors fail.
lintian_out=$(lintian --display-info --pedantic --fail-on none --tag-display-limit 0 "$deb" 2>&1)
lintian_status=$?
sed 's/^/    lintian: /' <<<"$lintian_out"
check "lintian runs (status $lintian_status)" test "$lintian_status" -eq 0
errors=$(grep -c '^E: ' <<<"$lintian_out")
check "lintian reports no error (got $errors)" test "$errors" -eq 0

summary
