# Prints, for every method of one interface in a header, an override that forwards the call to
# inner_, so a forwarding test double follows the header instead of a hand-kept copy of it:
#   HRESULT STDMETHODCALLTYPE SetFVF(DWORD FVF) override { return inner_->SetFVF(FVF); }
# Usage: awk -v interface=IDirect3DDevice9 -v output=OUTPUT [-v skip=Name,Name] -f forward_methods.awk HEADER
# Methods named in `skip` are left out, for a class that writes its own.

function forward(declaration,    open, shut, head, name, type, parameters, n, items, i, arguments) {
    gsub(/[ \t]+/, " ", declaration)
    sub(/^ ?virtual /, "", declaration)
    open = index(declaration, "(")
    shut = index(declaration, ") = 0;")
    head = substr(declaration, 1, open - 1)
    match(head, /[A-Za-z0-9_]+$/)
    name = substr(head, RSTART)
    type = substr(head, 1, RSTART - 2)
    parameters = substr(declaration, open + 1, shut - open - 1)
    n = split(parameters, items, ",")
    arguments = ""
    for (i = 1; i <= n; ++i) {
        match(items[i], /[A-Za-z0-9_]+ ?$/)
        arguments = arguments (i > 1 ? ", " : "") substr(items[i], RSTART, RLENGTH)
    }
    gsub(/ /, "", arguments)
    gsub(/,/, ", ", arguments)
    if (index("," skip ",", "," name ",") > 0)
        return
    printf "%s STDMETHODCALLTYPE %s(%s) override { return inner_->%s(%s); }\n", type, name, parameters,
           name, arguments > output
}

BEGIN { if (output == "") output = "/dev/stdout" }
$0 ~ "^struct " interface " : " { inside = 1; next }
inside && /^};/ { inside = 0 }
inside {
    pending = pending " " $0
    if (pending ~ /= 0;/) {
        forward(pending)
        pending = ""
    }
}
