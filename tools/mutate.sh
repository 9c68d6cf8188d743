#!/usr/bin/env bash
# Mutation check of the suite: applies each one-line mutation of tests/mutations.txt to a scratch copy
# of the tree, rebuilds, runs the tests the mutation names and lists the survivors (mutations no
# test notices). A mutation whose text is not found exactly once, or that does not build, is an error
# of the list. Exits non-zero when any mutation survives or the list has errors.
#
#   tools/mutate.sh [--list FILE] [--only REGEX]
#
# The list is blocks separated by blank lines; '#' starts a comment line:
#   file: src/render/vtr3_renderer.cpp       the file to change, relative to the repository
#   from: D3DXMatrixMultiply(&a, &b, &c);    text found exactly once in that file, on one line
#   to:   D3DXMatrixMultiply(&a, &c, &b);    what replaces it
#   test: RenderCore\.                       the ctest regex of the tests, one of which must fail
#   why:  ...                                (optional) why the mutation cannot change behaviour:
#                                            such a block is listed, not run
# The scratch copy lives in build/mutate and builds with the dev preset in its own build/dev (kept
# between runs, so a rerun builds little; with a compiler cache, the same paths relative to the build
# directory let the copy share what the work tree's dev build compiled).
set -euo pipefail
cd "$(dirname "$0")/.."

list=tests/mutations.txt
only=""
while (($#)); do
    case "$1" in
    --list) list=$2; shift 2 ;;
    --only) only=$2; shift 2 ;;
    *) echo "usage: tools/mutate.sh [--list FILE] [--only REGEX]" >&2; exit 2 ;;
    esac
done

scratch=build/mutate
source_copy=$scratch
build=$scratch/build/dev
mkdir -p "$source_copy"
# The scratch copy follows the work tree (including uncommitted changes): files that differ are
# copied with the time of the copy (a file's own time may be older than the copy's last build),
# files that are gone are removed, and the others keep their times, so the build stays warm.
git ls-files -z --cached --others --exclude-standard | python3 -c 'import os, shutil, sys, filecmp
copy = sys.argv[1]
wanted = {name for name in sys.stdin.read().split("\0") if name and os.path.isfile(name)}
for name in wanted:
    target = os.path.join(copy, name)
    if not os.path.isfile(target) or not filecmp.cmp(name, target, shallow=False):
        os.makedirs(os.path.dirname(target) or ".", exist_ok=True)
        shutil.copy(name, target)  # a new time, so that the build sees the change
for root, folders, files in os.walk(copy):
    if root == copy:
        folders[:] = [folder for folder in folders if folder != "build"]
        files[:] = [file for file in files if not file.endswith((".log", "saved"))]
    for file in files:
        target = os.path.join(root, file)
        if os.path.relpath(target, copy) not in wanted:
            os.remove(target)' "$source_copy"
if [[ ! -f $build/build.ninja ]]; then
    (cd "$source_copy" && cmake --preset dev) >"$scratch/configure.log"
fi
echo "mutate: building the unmutated copy"
cmake --build "$build" >"$scratch/build.log" 2>&1 || { cat "$scratch/build.log"; exit 1; }

export VTR3_SHADER_CACHE=off
total=0 killed=0 equivalent=0
survivors=() errors=()

# The executables behind the tests a regex selects, so a mutation rebuilds only what it runs.
targets_of() {
    ctest --test-dir "$build" -N -R "$1" --show-only=json-v1 2>/dev/null |
        python3 -c 'import json, os, sys
names = set()
for test in json.load(sys.stdin).get("tests", []):
    command = test.get("command") or []
    if command and command[0].startswith(sys.argv[1]):
        names.add(os.path.basename(command[0]))
print(" ".join(sorted(names)))' "$(realpath "$build")"
}

run_one() {
    local file=$1 from=$2 to=$3 test=$4 label=$5
    local path=$source_copy/$file
    if [[ ! -f $path ]]; then
        errors+=("$label: no file $file"); return
    fi
    local count
    count=$(FROM=$from python3 -c 'import os, sys; print(open(sys.argv[1], encoding="latin-1").read().count(os.environ["FROM"]))' "$path")
    if [[ $count != 1 ]]; then
        errors+=("$label: '$from' found $count times in $file"); return
    fi
    local saved=$scratch/saved
    cp -p "$path" "$saved"
    FROM=$from TO=$to python3 -c 'import os, sys
text = open(sys.argv[1], encoding="latin-1").read()
open(sys.argv[1], "w", encoding="latin-1").write(text.replace(os.environ["FROM"], os.environ["TO"], 1))' "$path"
    local targets
    targets=$(targets_of "$test")
    if [[ -z $targets ]]; then
        errors+=("$label: no test matches '$test'")
    # Besides the test programs, what they load or start: the plug-in, the shader compiler, the runner.
    elif ! cmake --build "$build" --target $targets Vantor3 vtr3-shaderc vantor-run vantor-fxcheck \
        >"$scratch/mutant.log" 2>&1; then
        errors+=("$label: does not build (see the list's text)")
    elif ctest --test-dir "$build" -R "$test" --timeout 300 >"$scratch/tests.log" 2>&1; then
        survivors+=("$label: $file: '$from' -> '$to' (tests '$test' pass)")
        echo "  SURVIVED"
    else
        killed=$((killed + 1))
        echo "  killed"
    fi
    cp -p "$saved" "$path"
    touch "$path" # the next build must see the original again
}

file="" from="" to="" test="" why="" line_number=0 start=0
flush() {
    if [[ -n $file ]]; then
        total=$((total + 1))
        local label="mutation $total (line $start)"
        if [[ -n $only && ! $file$from =~ $only ]]; then
            :
        elif [[ -n $why ]]; then
            equivalent=$((equivalent + 1))
        else
            echo "mutate: $label: $file: $from -> $to"
            run_one "$file" "$from" "$to" "$test" "$label"
        fi
    fi
    file="" from="" to="" test="" why=""
}
while IFS= read -r line || [[ -n $line ]]; do
    line_number=$((line_number + 1))
    [[ $line =~ ^[[:space:]]*# ]] && continue
    if [[ -z ${line//[[:space:]]/} ]]; then
        flush; continue
    fi
    [[ -z $file ]] && start=$line_number
    key=${line%%:*}
    value=${line#*:}
    value=${value#"${value%%[![:space:]]*}"} # leading blanks only: the text may end in spaces
    case "$key" in
    file) file=$value ;;
    from) from=$value ;;
    to) to=$value ;;
    test) test=$value ;;
    why) why=$value ;;
    *) errors+=("line $line_number: unknown key '$key'") ;;
    esac
done <"$list"
flush
# Rebuild the unmutated copy, so the next run starts from it.
cmake --build "$build" >"$scratch/build.log" 2>&1 || true

echo "mutate: $total mutations: $killed killed, ${#survivors[@]} survived, $equivalent listed as unable to change behaviour, ${#errors[@]} errors"
for survivor in "${survivors[@]}"; do echo "  survived: $survivor"; done
for error in "${errors[@]}"; do echo "  error: $error"; done
((${#survivors[@]} == 0 && ${#errors[@]} == 0))
