# Lists the integral constants that our SDK-shaped headers define, object-like macros and enumerators,
# as one VTR3_CONSTANT(NAME) line each, so the value printer sees every one of them without a
# hand-kept list. Usage: awk -v output=OUTPUT -f collect_constant_names.awk HEADER...

# Object-like macros whose value is no integral constant: a float, a return type.
BEGIN {
    skip["D3DX_DEFAULT_FLOAT"] = skip["STDMETHODIMP"] = 1
    if (output == "")
        output = "/dev/stdout"
}

function emit(name) {
    if (!(name in skip) && !(name in seen)) {
        seen[name] = 1
        print "VTR3_CONSTANT(" name ")" > output
    }
}

# The enumerators of every "enum ... { ... }" in the file's code.
function enumerators(code,    rest, open, semi, shut, n, i, items, item) {
    while (match(code, /(^|[^A-Za-z0-9_])enum[^A-Za-z0-9_]/)) {
        rest = substr(code, RSTART + RLENGTH - 1)
        code = rest
        open = index(rest, "{")
        semi = index(rest, ";")
        if (open == 0 || (semi > 0 && semi < open))
            continue
        shut = index(rest, "}")
        n = split(substr(rest, open + 1, shut - open - 1), items, ",")
        for (i = 1; i <= n; ++i)
            if (match(items[i], /^[ \t\n]*[A-Za-z_][A-Za-z0-9_]*/)) {
                item = substr(items[i], RSTART, RLENGTH)
                gsub(/[ \t\n]/, "", item)
                emit(item)
            }
        code = substr(rest, shut)
    }
}

FNR == 1 && NR > 1 { enumerators(file); file = ""; incomment = 0 }

{
    # Comments out, continued lines joined.
    line = $0
    while (sub(/\\$/, "", line) && (getline more) > 0)
        line = line " " more
    out = ""
    while (line != "") {
        if (incomment) {
            end = index(line, "*/")
            if (end == 0) { line = ""; break }
            line = " " substr(line, end + 2)
            incomment = 0
            continue
        }
        block = index(line, "/*"); slash = index(line, "//")
        if (slash > 0 && (block == 0 || slash < block)) { out = out substr(line, 1, slash - 1); break }
        if (block == 0) { out = out line; break }
        out = out substr(line, 1, block - 1)
        line = substr(line, block + 2)
        incomment = 1
    }
    file = file out "\n"
    # "#define NAME VALUE": NAME upper case, VALUE neither a keyword (THIS void) nor "= 0" (PURE).
    if (match(out, /^[ \t]*#[ \t]*define[ \t]+[A-Z0-9_]+[ \t]+[^ \t=a-z]/)) {
        name = out
        sub(/^[ \t]*#[ \t]*define[ \t]+/, "", name)
        sub(/[ \t].*$/, "", name)
        emit(name)
    }
}

END { enumerators(file) }
