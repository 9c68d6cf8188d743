#include "fx/effect_source.h"

#include "d3dx/regular_file.h"
#include "fx/condition_eval.h"

#include <algorithm>
#include <cctype>

namespace platform::fx {
namespace {

constexpr int kMaxIncludeDepth = 32;

std::string Trim(const std::string& text) {
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && std::isspace(static_cast<unsigned char>(text[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1])))
        --e;
    return text.substr(b, e - b);
}

// Removes comments from a directive's text (the block-comment state is tracked by the caller).
std::string StripComments(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "//") == 0)
            break;
        if (text.compare(i, 2, "/*") == 0) {
            const std::size_t end = text.find("*/", i + 2);
            if (end == std::string::npos)
                break;
            out += ' ';
            i = end + 1;
            continue;
        }
        out += text[i];
    }
    return out;
}

std::string ReadName(const std::string& text, std::size_t* pos) {
    std::size_t i = *pos;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    const std::size_t start = i;
    while (i < text.size() && (std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == '_'))
        ++i;
    *pos = i;
    return text.substr(start, i - start);
}

class Preprocessor {
  public:
    Preprocessor(EffectSource* source, Diagnostics* diagnostics, ID3DXInclude* include)
        : source_(source), diagnostics_(diagnostics), include_(include) {}

    void AddDefine(const char* name, const char* definition) {
        if (!name || !*name)
            return;
        Macro macro;
        macro.name = name;
        macro.body = definition ? definition : "1";
        source_->macros.push_back(macro);
    }

    void Run(const std::string& text, int file, const std::string& directory, int depth);

  private:
    struct Branch {
        bool active;       // this branch's lines are kept
        bool taken;        // some branch of this #if was active
        bool parentActive; // the enclosing region is active
    };

    bool Active() const { return branches_.empty() || branches_.back().active; }
    void Emit(const std::string& line, int file, int number) {
        source_->text += line;
        source_->text += '\n';
        source_->lines.push_back(SourceLocation{file, number, 1});
    }
    void Error(int file, int line, int column, int errorCode, const std::string& message) {
        diagnostics_->Error(source_->files[static_cast<std::size_t>(file)], line, column, errorCode, message);
    }
    void Directive(const std::string& text, int file, int line);
    void Define(const std::string& rest, int file, int line);
    bool Condition(const std::string& expression, int file, int line);
    void Include(const std::string& rest, std::size_t column, int file, int line,
                 const std::string& directory, int depth);
    bool LoadInclude(const std::string& name, const std::string& directory, std::string* text,
                     std::string* path, std::string* failure);

    EffectSource* source_;
    Diagnostics* diagnostics_;
    ID3DXInclude* include_;
    std::vector<Branch> branches_;
    int lineOfDirective_ = 0; // combined line of the directive being handled
};

void Preprocessor::Run(const std::string& text, int file, const std::string& directory, int depth) {
    const std::size_t branchDepth = branches_.size();
    bool inComment = false;
    std::size_t pos = 0;
    int number = 0;
    // A final line break ends the last line; it does not begin another.
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        ++number;
        const int first = number;
        pos = end + 1;
        // A directive starts with '#' outside a block comment; backslash-newline continues it.
        const std::string trimmed = Trim(line);
        if (!inComment && !trimmed.empty() && trimmed[0] == '#') {
            std::string directive = line;
            std::vector<std::string> raw{line};
            while (!directive.empty() && directive.back() == '\\' && pos < text.size()) {
                std::size_t next = text.find('\n', pos);
                if (next == std::string::npos)
                    next = text.size();
                std::string more = text.substr(pos, next - pos);
                if (!more.empty() && more.back() == '\r')
                    more.pop_back();
                directive.pop_back();
                directive += more;
                raw.push_back(more);
                pos = next + 1;
                ++number;
            }
            const std::size_t hash = directive.find('#');
            std::size_t p = hash + 1;
            const std::string name = ReadName(directive, &p);
            const bool keep = Active() && (name == "define" || name == "undef");
            const int combinedLine = static_cast<int>(source_->lines.size());
            for (std::size_t i = 0; i < raw.size(); ++i)
                Emit(keep ? raw[i] : std::string(), file, first + static_cast<int>(i));
            if (name == "include" && Active()) {
                // The included lines follow the #include line; its own line stays empty.
                Include(directive.substr(p), p, file, first, directory, depth);
            } else {
                lineOfDirective_ = combinedLine;
                Directive(directive, file, first);
            }
        } else {
            // Track block comments so that a '#' inside one is not taken for a directive.
            for (std::size_t i = 0; i + 1 < line.size() || (inComment && i < line.size()); ++i) {
                if (!inComment && line.compare(i, 2, "//") == 0)
                    break;
                if (!inComment && line.compare(i, 2, "/*") == 0) {
                    inComment = true;
                    ++i;
                } else if (inComment && line.compare(i, 2, "*/") == 0) {
                    inComment = false;
                    ++i;
                }
            }
            Emit(Active() ? line : std::string(), file, first);
        }
    }
    if (branches_.size() > branchDepth) {
        Error(file, number, 1, code::kPreprocessor, "unexpected end of file in #if block");
        branches_.resize(branchDepth);
    }
}

void Preprocessor::Directive(const std::string& text, int file, int line) {
    const std::string body = StripComments(text);
    const std::size_t hash = body.find('#');
    std::size_t p = hash + 1;
    const std::string name = ReadName(body, &p);
    const std::string rest = Trim(body.substr(p));
    const int column = static_cast<int>(hash) + 1;
    if (name == "if" || name == "ifdef" || name == "ifndef") {
        const bool parent = Active();
        bool value = false;
        if (parent) {
            if (name == "if") {
                value = Condition(rest, file, line);
            } else {
                std::size_t q = 0;
                const bool defined = source_->FindMacro(ReadName(rest, &q), lineOfDirective_) != nullptr;
                value = (name == "ifdef") == defined;
            }
        }
        branches_.push_back(Branch{parent && value, parent && value, parent});
    } else if (name == "elif" || name == "else") {
        if (branches_.empty()) {
            Error(file, line, column, code::kPreprocessor, "#" + name + " without #if");
            return;
        }
        Branch& b = branches_.back();
        const bool value = !b.taken && b.parentActive && (name == "else" || Condition(rest, file, line));
        b.active = value;
        b.taken = b.taken || value;
    } else if (name == "endif") {
        if (branches_.empty())
            Error(file, line, column, code::kPreprocessor, "#endif without #if");
        else
            branches_.pop_back();
    } else if (!Active()) {
        return;
    } else if (name == "define") {
        Define(rest, file, line);
    } else if (name == "undef") {
        std::size_t q = 0;
        const std::string macro = ReadName(rest, &q);
        for (Macro& m : source_->macros) {
            if (m.name == macro && m.undefinedAt > lineOfDirective_)
                m.undefinedAt = lineOfDirective_;
        }
    } else if (name == "error") {
        Error(file, line, column, code::kPreprocessor, "#error " + rest);
    } else if (name == "pragma" || name == "line" || name.empty()) {
        // #pragma (pack_matrix, warning) and #line are not needed for compiling here.
    } else {
        Error(file, line, column, code::kPreprocessor, "invalid preprocessor command '" + name + "'");
    }
}

void Preprocessor::Define(const std::string& rest, int file, int line) {
    Macro macro;
    std::size_t p = 0;
    macro.name = ReadName(rest, &p);
    if (macro.name.empty()) {
        Error(file, line, 1, code::kPreprocessor, "#define without a name");
        return;
    }
    if (p < rest.size() && rest[p] == '(') {
        macro.functionLike = true;
        const std::size_t close = rest.find(')', p);
        std::string list = rest.substr(p + 1, close == std::string::npos ? std::string::npos : close - p - 1);
        std::size_t q = 0;
        while (q < list.size()) {
            const std::string parameter = ReadName(list, &q);
            if (!parameter.empty())
                macro.parameters.push_back(parameter);
            ++q;
        }
        p = close == std::string::npos ? rest.size() : close + 1;
    }
    macro.body = Trim(rest.substr(p));
    macro.definedAt = lineOfDirective_;
    source_->macros.push_back(macro);
}

bool Preprocessor::Condition(const std::string& expression, int file, int line) {
    const int at = lineOfDirective_;
    ConditionContext context;
    context.isDefined = [this, at](const std::string& name) {
        return source_->FindMacro(name, at) != nullptr;
    };
    context.expand = [this, at](const std::string& name, std::string* body) {
        const Macro* m = source_->FindMacro(name, at);
        if (!m || m->functionLike)
            return false;
        *body = m->body;
        return true;
    };
    long long value = 0;
    if (!EvaluateCondition(expression, context, &value)) {
        Error(file, line, 1, code::kPreprocessor, "invalid #if expression '" + expression + "'");
        return false;
    }
    return value != 0;
}

void Preprocessor::Include(const std::string& rest, std::size_t column, int file, int line,
                           const std::string& directory, int depth) {
    const std::string spec = Trim(StripComments(rest));
    const char open = spec.empty() ? 0 : spec[0];
    const std::size_t close = spec.find(open == '<' ? '>' : '"', 1);
    if ((open != '"' && open != '<') || close == std::string::npos) {
        Error(file, line, static_cast<int>(column) + 1, code::kPreprocessor, "#include expects \"FILENAME\"");
        return;
    }
    const std::string name = spec.substr(1, close - 1);
    const int nameColumn = static_cast<int>(column + rest.find(open)) + 2;
    if (depth >= kMaxIncludeDepth) {
        Error(file, line, nameColumn, code::kIncludeFailed, "#include nested too deeply: '" + name + "'");
        return;
    }
    std::string text;
    std::string path;
    std::string failure;
    if (!LoadInclude(name, directory, &text, &path, &failure)) {
        Error(file, line, nameColumn, code::kIncludeFailed, failure);
        return;
    }
    if (text.size() > kMaxSourceBytes - std::min<std::uint64_t>(source_->text.size(), kMaxSourceBytes)) {
        Error(file, line, nameColumn, code::kIncludeFailed,
              "#include makes the source larger than " + std::to_string(kMaxSourceBytes) + " bytes: '" +
                  name + "'");
        return;
    }
    source_->files.push_back(path);
    const std::size_t slash = path.find_last_of('/');
    const std::string childDirectory = slash == std::string::npos ? directory : path.substr(0, slash + 1);
    Run(text, static_cast<int>(source_->files.size()) - 1, childDirectory, depth + 1);
}

bool Preprocessor::LoadInclude(const std::string& name, const std::string& directory, std::string* text,
                               std::string* path, std::string* failure) {
    std::string normalised = name;
    for (char& c : normalised) {
        if (c == '\\')
            c = '/';
    }
    if (include_) {
        LPCVOID data = nullptr;
        UINT bytes = 0;
        if (FAILED(include_->Open(D3DXINC_LOCAL, name.c_str(), nullptr, &data, &bytes)) || !data) {
            *failure = "failed to open source file: '" + name + "'";
            return false;
        }
        text->assign(static_cast<const char*>(data), bytes);
        include_->Close(data);
        *path = name;
        return true;
    }
    *path = (!normalised.empty() && normalised[0] == '/') ? normalised : directory + normalised;
    return ReadSourceFile(*path, name, text, failure);
}

} // namespace

bool ReadSourceFile(const std::string& path, const std::string& name, std::string* text,
                    std::string* failure) {
    const d3dx::FileRead read = d3dx::ReadRegularFile(path, d3dx::FileLimits{kMaxSourceBytes}, text);
    if (read == d3dx::FileRead::Ok)
        return true;
    *failure = "failed to open source file: '" + name + "'";
    if (read == d3dx::FileRead::NotRegular)
        *failure += ": not a regular file";
    else if (read == d3dx::FileRead::TooLarge)
        *failure += ": larger than " + std::to_string(kMaxSourceBytes) + " bytes";
    return false;
}

const Macro* EffectSource::FindMacro(const std::string& name, int line) const {
    const Macro* found = nullptr;
    for (const Macro& m : macros) {
        if (m.name == name && m.definedAt < line && m.undefinedAt > line)
            found = &m;
    }
    return found;
}

SourceLocation EffectSource::Locate(int combinedLine, int column) const {
    if (lines.empty())
        return SourceLocation{0, 1, column};
    const std::size_t i =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(combinedLine, 0)), lines.size() - 1);
    return SourceLocation{lines[i].file, lines[i].line, column};
}

bool Preprocess(const SourceInput& input, EffectSource* source, Diagnostics* diagnostics) {
    *source = EffectSource{};
    source->files.push_back(input.name);
    if (input.text.size() > kMaxSourceBytes) { // an effect from memory; files were refused when read
        diagnostics->Error(input.name, 1, 1, code::kIncludeFailed,
                           "source larger than " + std::to_string(kMaxSourceBytes) + " bytes");
        return false;
    }
    Preprocessor preprocessor(source, diagnostics, input.include);
    for (const D3DXMACRO* d = input.defines; d && d->Name; ++d)
        preprocessor.AddDefine(d->Name, d->Definition);
    preprocessor.Run(input.text, 0, input.directory, 0);
    return !diagnostics->HasErrors();
}

} // namespace platform::fx
