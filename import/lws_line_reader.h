#pragma once
// The text side of LightWave scene files: lines split into tokens, each
// token with the rest of its line (a path with spaces is taken whole), and
// the readers of numbers written in them.

#include <cstdio>
#include <string>
#include <vector>

namespace LW {

// Logs the formatted message (which carries its own "\n" and indentation),
// with the line of the scene being read, and throws the bool true.
[[noreturn]] void parseError(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

class LineReader {
public:
    static constexpr size_t kMaxLineLength = 4096;

    struct Token {
        std::string text;
        std::string rest;  // this token and everything after it on the line
    };

    // Takes the whole text of the file. While it lives, parse and number
    // errors name its current line.
    explicit LineReader(std::string text);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // The next line that is not empty, split at spaces and tabs; false at
    // the end of the file. A line longer than kMaxLineLength is a parse error.
    bool next();
    // The same, where the file must go on: its end is "Unexpected end of file.".
    void require();
    // The next call to next() or require() gives the current line again.
    void keep() { kept_ = true; }
    // True on a line that opens a block: "{ ..." up to its "}", or
    // "Plugin ..." up to its "EndPlugin".
    bool opensBlock() const;
    // From a line that opens a block, reads to the line that closes it
    // (blocks nest); on any other line, does nothing.
    void skipBlock();

    const std::vector<Token>& tokens() const { return tokens_; }
    size_t count() const { return tokens_.size(); }
    // Token i; a missing one is a parse error naming the line's first token.
    const std::string& token(size_t i) const;
    const std::string& rest(size_t i) const;
    int lineNumber() const { return lineNumber_; }

private:
    std::string text_;
    size_t position_ = 0;
    int lineNumber_ = 0;
    bool kept_ = false;
    std::vector<Token> tokens_;
    const LineReader* previous_ = nullptr;
};

// "-", decimal digits with one "." or ",", then "e" or "e-" and digits.
// Errors use the load failure (with the line being read): "Too many
// decimalsigns!!", "Illegal ASCII-char in number field!!".
float readNumber(const std::string& text);
// A number truncated, held within the int range.
int readInteger(const std::string& text);
// Hexadecimal digits, either case; anything else is "Wrong hex number!".
unsigned readHex(const std::string& text);

} // namespace LW
