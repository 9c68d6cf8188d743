#include "script_syntax.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "script_commands.h"

namespace host::script {
namespace {

// A `var` holds -2097152 to just below 2097152.
constexpr double kVarLimit = 2097152.0;

std::string Describe(const Location& where, const std::string& message) {
    return where.file + ":" + std::to_string(where.line) + ":" + std::to_string(where.column) +
           ": error: " + message;
}

bool IsNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsNameChar(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '.';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool EndsToken(const std::string& line, std::size_t at) {
    return at >= line.size() || line[at] == ' ' || line[at] == '\t' || line[at] == '#';
}

std::string Shown(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x21 && byte < 0x7f) {
        return std::string("'") + c + "'";
    }
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02x", byte);
    return std::string("byte ") + hex;
}

class LineReader {
  public:
    LineReader(const std::string& line, Location where) : line_(line), where_(std::move(where)) {}

    std::vector<Token> Tokens() {
        std::vector<Token> tokens;
        while (true) {
            while (at_ < line_.size() && (line_[at_] == ' ' || line_[at_] == '\t')) {
                ++at_;
            }
            if (at_ >= line_.size() || line_[at_] == '#') {
                return tokens;
            }
            tokens.push_back(Next());
        }
    }

  private:
    Location Here() const {
        Location where = where_;
        where.column = static_cast<int>(at_) + 1;
        return where;
    }

    Token Next() {
        Token token;
        token.where = Here();
        const char c = line_[at_];
        if (c == '"') {
            token.kind = TokenKind::kString;
            token.text = QuotedText(token.where);
        } else if (IsDigit(c) || ((c == '-' || c == '+' || c == '.') && at_ + 1 < line_.size() &&
                                  (IsDigit(line_[at_ + 1]) || line_[at_ + 1] == '.'))) {
            token.kind = TokenKind::kNumber;
            token.number = Number(token.where, &token.text);
        } else if (IsNameStart(c)) {
            const std::size_t begin = at_;
            while (at_ < line_.size() && IsNameChar(line_[at_])) {
                ++at_;
            }
            token.text = line_.substr(begin, at_ - begin);
            if (!EndsToken(line_, at_)) {
                throw ScriptError(Here(), "unexpected " + Shown(line_[at_]) + " after '" + token.text + "'");
            }
        } else {
            throw ScriptError(token.where, "unexpected " + Shown(c));
        }
        return token;
    }

    // A string in double quotes; \" and \\ stand for a quote and a backslash, any other backslash
    // is itself (paths written for Windows keep theirs).
    std::string QuotedText(const Location& opening) {
        std::string text;
        for (++at_; at_ < line_.size(); ++at_) {
            const char c = line_[at_];
            if (c == '"') {
                ++at_;
                if (!EndsToken(line_, at_)) {
                    throw ScriptError(Here(), "unexpected " + Shown(line_[at_]) + " after a string");
                }
                return text;
            }
            if (c == '\0') {
                throw ScriptError(Here(), "unexpected " + Shown(c) + " in a string");
            }
            if (c == '\\' && at_ + 1 < line_.size() && (line_[at_ + 1] == '"' || line_[at_ + 1] == '\\')) {
                ++at_;
            }
            text += line_[at_];
        }
        throw ScriptError(opening, "unterminated string");
    }

    // [+-]digits[.digits], or [+-].digits; the value must fit a `var`.
    double Number(const Location& where, std::string* text) {
        const std::size_t begin = at_;
        if (line_[at_] == '-' || line_[at_] == '+') {
            ++at_;
        }
        std::size_t digits = 0;
        while (at_ < line_.size() && IsDigit(line_[at_])) {
            ++at_;
            ++digits;
        }
        if (at_ < line_.size() && line_[at_] == '.') {
            ++at_;
            while (at_ < line_.size() && IsDigit(line_[at_])) {
                ++at_;
                ++digits;
            }
        }
        while (!EndsToken(line_, at_)) {
            ++at_; // take the rest of the word into the message
        }
        *text = line_.substr(begin, at_ - begin);
        const std::size_t numeric = text->find_first_not_of(".0123456789", 1);
        if (digits == 0 || numeric != std::string::npos || text->find('.') != text->rfind('.')) {
            throw ScriptError(where, "'" + *text + "' is not a number");
        }
        const double value = std::strtod(text->c_str(), nullptr);
        if (!(value > -kVarLimit - 1.0 / 2048 && value < kVarLimit - 1.0 / 2048)) {
            throw ScriptError(where, "the number " + *text + " does not fit a var (-2097152 to 2097151.999)");
        }
        return value;
    }

    const std::string& line_;
    Location where_;
    std::size_t at_ = 0;
};

const char* KindName(char kind) {
    switch (kind) {
    case 'w':
        return "a name";
    case 'n':
        return "a number";
    default:
        return "a string";
    }
}

char KindOf(const Token& token) {
    return token.kind == TokenKind::kName ? 'w' : token.kind == TokenKind::kNumber ? 'n' : 's';
}

void CheckArguments(const CommandForm& form, const Statement& statement) {
    std::string kinds = form.kinds;
    const bool optional = !kinds.empty() && kinds.back() == '?';
    if (optional) {
        kinds.pop_back();
    }
    const std::size_t count = statement.arguments.size();
    if (count > kinds.size() || count < kinds.size() - (optional ? 1 : 0)) {
        const std::string wanted =
            optional ? std::to_string(kinds.size() - 1) + " or " + std::to_string(kinds.size())
                     : std::to_string(kinds.size());
        throw ScriptError(statement.command.where,
                          "'" + statement.command.text + "' takes " + wanted +
                              (kinds.size() == 1 && !optional ? " argument" : " arguments") +
                              (*form.usage ? std::string(" (") + form.usage + ")" : "") + ", not " +
                              std::to_string(count));
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (KindOf(statement.arguments[i]) != kinds[i]) {
            throw ScriptError(statement.arguments[i].where, "argument " + std::to_string(i + 1) + " of '" +
                                                                statement.command.text + "' must be " +
                                                                KindName(kinds[i]));
        }
    }
}

const CommandForm& FormOf(const Token& command) {
    if (command.kind != TokenKind::kName) {
        throw ScriptError(command.where,
                          "a statement begins with a command, not " + std::string(KindName(KindOf(command))));
    }
    const CommandForm* form =
        IsExportName(command.text) ? FindExport(command.text) : FindCommand(command.text);
    if (!form) {
        throw ScriptError(command.where,
                          std::string(IsExportName(command.text) ? "unknown export '" : "unknown command '") +
                              command.text + "'");
    }
    return *form;
}

void ExpectWord(const Token& token, const char* word) {
    if (token.text != word) {
        throw ScriptError(token.where, "expected '" + std::string(word) + "', not '" + token.text + "'");
    }
}

// screenshot texture ID [face N] "FILE.png": the plug-in's texture instead of the back buffer;
// screenshot steps "DIRECTORY": the images of a post-processing chain.
Statement CheckTextureScreenshot(Statement statement) {
    if (statement.arguments[0].text == "steps") {
        CheckArguments(CommandForm{"screenshot", "ws", "steps \"DIRECTORY\""}, statement);
        ExpectWord(statement.arguments[0], "steps");
        return statement;
    }
    const bool face = statement.arguments.size() > 3;
    const CommandForm form{"screenshot", face ? "wnwns" : "wns",
                           face ? "texture ID face N \"FILE.png\"" : "texture ID \"FILE.png\""};
    CheckArguments(form, statement);
    ExpectWord(statement.arguments[0], "texture");
    if (face) {
        ExpectWord(statement.arguments[2], "face");
    }
    return statement;
}

Statement Check(std::vector<Token> tokens) {
    Statement statement;
    statement.command = tokens.front();
    const CommandForm& form = FormOf(statement.command);
    if (statement.command.text == "screenshot" && tokens.size() > 2) {
        statement.arguments.assign(tokens.begin() + 1, tokens.end());
        return CheckTextureScreenshot(std::move(statement));
    }
    if (statement.command.text != "during") {
        statement.arguments.assign(tokens.begin() + 1, tokens.end());
        CheckArguments(form, statement);
        return statement;
    }
    // during VIEW EXPORT ARGUMENTS...: the export call is a statement of its own.
    if (tokens.size() < 3) {
        throw ScriptError(statement.command.where,
                          "'during' takes a view and an export call (VIEW EXPORT ARGUMENTS...)");
    }
    statement.arguments.assign(tokens.begin() + 1, tokens.begin() + 2);
    CheckArguments(form, statement);
    if (tokens[2].kind == TokenKind::kName && !IsExportName(tokens[2].text)) {
        throw ScriptError(tokens[2].where, "'during' repeats an export call, not '" + tokens[2].text + "'");
    }
    statement.body.push_back(Check(std::vector<Token>(tokens.begin() + 2, tokens.end())));
    return statement;
}

} // namespace

ScriptError::ScriptError(const Location& where, const std::string& message)
    : std::runtime_error(Describe(where, message)), where_(where) {}

std::vector<Statement> ParseScript(const std::string& text, const std::string& file) {
    std::vector<Statement> statements;
    Location where{file, 0, 1};
    std::size_t begin = 0;
    while (begin <= text.size()) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(begin, end - begin);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        ++where.line;
        std::vector<Token> tokens = LineReader(line, where).Tokens();
        if (!tokens.empty()) {
            statements.push_back(Check(std::move(tokens)));
        }
        begin = end + 1;
    }
    return statements;
}

} // namespace host::script
