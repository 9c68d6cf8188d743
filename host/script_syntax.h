// Scene scripts as text: one statement a line, a command word followed by its arguments (names,
// numbers, quoted strings), `#` to the end of the line a comment. Parsing checks every statement
// against the command table (command known, argument count and kinds), so that a typo anywhere in a
// script is reported before anything runs.
#ifndef VTR3_HOST_SCRIPT_SYNTAX_H
#define VTR3_HOST_SCRIPT_SYNTAX_H

#include <stdexcept>
#include <string>
#include <vector>

namespace host::script {

struct Location {
    std::string file;
    int line = 0;
    int column = 0; // bytes from the line's start, counting from 1
};

// What a script did wrong, and where. what() is "file:line:column: error: message".
class ScriptError : public std::runtime_error {
  public:
    ScriptError(const Location& where, const std::string& message);
    const Location& where() const { return where_; }

  private:
    Location where_;
};

enum class TokenKind { kName, kNumber, kString };

struct Token {
    TokenKind kind = TokenKind::kName;
    std::string text;  // a name, or a string's text without its quotes
    double number = 0; // a number's value
    Location where;
};

struct Statement {
    Token command; // its name
    std::vector<Token> arguments;
    std::vector<Statement> body; // `during`: the export call it repeats
};

// Throws ScriptError at the first fault.
std::vector<Statement> ParseScript(const std::string& text, const std::string& file);

} // namespace host::script

#endif
