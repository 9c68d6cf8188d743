#!/bin/sh
# compare_logs.sh LINUX.html WINDOWS.html [exact]
# Compares the plug-in's log of one scene script from the Linux build with the Windows build's.
# Both logs must be CR LF text throughout, never CR CR LF. Two texts are masked: the components'
# compile times (the build stamp "Letzte Kompillierung: hh:mm:ss"), which differ between the two
# builds, and the effect compiler's messages in a failed compile's row, which are each D3DX's own
# words (for a missing file Wine's D3DX gives none, the Linux platform's an X1507 message).
# With "exact" the masked logs must be byte for byte the same. Else they are compared row by row,
# the rows' shading aside, and only these rows may differ, each for its reason:
#   - Windows "Fehler beim compillieren des Effektes mit der ID: N" where Linux has "Der Effekt mit
#     der ID: N wurde erfolgreich initialisiert": Wine's D3DX (vkd3d-shader) cannot compile effect
#     files (it stops at sampler_state), so every effect fails to compile under Wine;
#   - an extra Windows "Fehler beim compillieren des Effektes mit der ID: N" with no Linux row: the
#     effect manager compiles effects again when the device is reset and logs only failures.
set -eu
linux=$1
windows=$2
mode=${3:-rows}
for log in "$linux" "$windows"; do
    [ -s "$log" ] || { echo "$log: no log"; exit 1; }
    crlf=$(grep -c "$(printf '\r')\$" "$log" || true)
    lines=$(wc -l <"$log")
    [ "$crlf" -eq "$lines" ] || { echo "$log: $((lines - crlf)) of $lines lines do not end in CR LF"; exit 1; }
    if grep -q "$(printf '\r\r')" "$log"; then
        echo "$log: CR CR LF line ends"
        exit 1
    fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mask() {
    perl -0777 -pe 's/Letzte Kompillierung: \d\d:\d\d:\d\d/Letzte Kompillierung: (time)/g;
        s/(Fehler beim compillieren des Effektes mit der ID: -?\d+\. Fehler: ).*?(<br><font size="1">DirectX)/$1(messages)$2/gs' "$1"
}
mask "$linux" >"$work/linux"
mask "$windows" >"$work/windows"
if [ "$mode" = exact ]; then
    if ! cmp -s "$work/linux" "$work/windows"; then
        echo "the logs differ (< Linux, > Windows):"
        diff "$work/linux" "$work/windows" | head -20
        exit 1
    fi
    echo "$windows: the same bytes as the Linux log (compile times masked)"
    exit 0
fi
# One line a row (its four lines joined, without the shading), other lines as they are.
rows() {
    tr -d '\r' <"$1" | awk '
        /<tr bgcolor=/ { row = ""; inrow = 1; next }
        inrow && /<\/tr>/ { print "ROW" row; inrow = 0; next }
        inrow { sub(/^\t+/, ""); row = row "|" $0; next }
        { print }'
}
rows "$work/linux" >"$work/linux.rows"
rows "$work/windows" >"$work/windows.rows"
status=0
awk -v linuxFile="$work/linux.rows" '
    BEGIN { while ((getline line < linuxFile) > 0) L[n++] = line }
    { W[m++] = $0 }
    function failedId(row,    s) {
        if (row !~ /Fehler beim compillieren des Effektes mit der ID: [0-9]+\./) return ""
        s = row; sub(/.*Fehler beim compillieren des Effektes mit der ID: /, "", s); sub(/\..*/, "", s)
        return s
    }
    END {
        i = 0; j = 0; expected = 0
        while (i < n && j < m) {
            if (L[i] == W[j]) { i++; j++; continue }
            id = failedId(W[j])
            if (id != "" && index(L[i], "Der Effekt mit der ID: " id " wurde erfolgreich initialisiert")) {
                expected++; i++; j++; continue
            }
            if (id != "") { expected++; j++; continue }
            printf "line %d differs:\n  Linux:   %s\n  Windows: %s\n", j + 1, substr(L[i], 1, 300), substr(W[j], 1, 300)
            exit 1
        }
        if (i < n || j < m) { printf "the logs end differently: Linux from line %d, Windows from line %d\n", i + 1, j + 1; exit 1 }
        printf "%d lines the same, %d rows different as expected (effect compiles)\n", n - expected, expected
    }' "$work/windows.rows" >"$work/result" || status=1
sed "s|^|$windows: |" "$work/result"
exit $status
