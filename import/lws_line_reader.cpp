#include "import/lws_line_reader.h"

#include <cmath>
#include <cstdarg>
#include <cstring>

#include "import/importer_context.h"
#include "log/logger.h"

namespace LW {

namespace {

// The reader of the scene being parsed, so that every error names its line.
thread_local const LineReader* g_reader = nullptr;

std::string lineSuffix()
{
    return g_reader ? " (line " + std::to_string(g_reader->lineNumber()) + ")" : std::string();
}

[[noreturn]] void numberError(const char* text)
{
    loadFailuref("%s%s", text, lineSuffix().c_str());
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r'; }

} // namespace

void parseError(const char* format, ...)
{
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    hlv::log("%s%s", text, lineSuffix().c_str());
    throw true;
}

LineReader::LineReader(std::string text) : text_(std::move(text))
{
    // A UTF-8 byte-order mark is not part of the first keyword.
    if (text_.compare(0, 3, "\xEF\xBB\xBF") == 0)
        position_ = 3;
    previous_ = g_reader;
    g_reader = this;
}

LineReader::~LineReader() { g_reader = previous_; }

bool LineReader::next()
{
    if (kept_) {
        kept_ = false;
        return !tokens_.empty();
    }
    while (position_ < text_.size()) {
        // Lines end in LF, CRLF or (classic Mac OS) CR alone.
        size_t end = text_.find_first_of("\r\n", position_);
        if (end == std::string::npos)
            end = text_.size();
        const size_t begin = position_;
        position_ = end;
        if (position_ < text_.size())
            position_ += text_.compare(position_, 2, "\r\n") == 0 ? 2 : 1;
        ++lineNumber_;
        if (end - begin > kMaxLineLength)
            parseError("\n%sThe line is longer than %d characters.", indent(), int(kMaxLineLength));

        size_t last = end;
        while (last > begin && isSpace(text_[last - 1]))
            --last;
        tokens_.clear();
        for (size_t i = begin; i < last;) {
            while (i < last && isSpace(text_[i]))
                ++i;
            if (i >= last)
                break;
            size_t tokenEnd = i;
            while (tokenEnd < last && !isSpace(text_[tokenEnd]))
                ++tokenEnd;
            tokens_.push_back({text_.substr(i, tokenEnd - i), text_.substr(i, last - i)});
            i = tokenEnd;
        }
        if (!tokens_.empty())
            return true;
    }
    tokens_.clear();
    return false;
}

void LineReader::require()
{
    if (!next())
        parseError("\n%sUnexpected end of file.", indent());
}

bool LineReader::opensBlock() const
{
    return !tokens_.empty() && (tokens_[0].text[0] == '{' || tokens_[0].text == "Plugin");
}

void LineReader::skipBlock()
{
    if (!opensBlock())
        return;
    // Plugins write what they like between their two lines, braces included:
    // only their own keywords nest there.
    const bool plugin = tokens_[0].text == "Plugin";
    const int firstLine = lineNumber_;
    for (int depth = 1; depth > 0;) {
        if (!next())
            parseError("\n%sUnexpected end of file in the block that starts on line %d.", indent(), firstLine);
        const std::string& first = tokens_[0].text;
        if (plugin)
            depth += first == "Plugin" ? 1 : first == "EndPlugin" ? -1 : 0;
        else
            depth += first[0] == '{' ? 1 : first == "}" ? -1 : 0;
    }
}

const std::string& LineReader::token(size_t i) const
{
    if (i >= tokens_.size())
        parseError("\n%sMissing value ('%s').", indent(), tokens_.empty() ? "" : tokens_[0].text.c_str());
    return tokens_[i].text;
}

const std::string& LineReader::rest(size_t i) const
{
    token(i);
    return tokens_[i].rest;
}

float readNumber(const std::string& text)
{
    const char* c = text.c_str();
    bool negative = false;
    if (*c == '-') {
        negative = true;
        ++c;
    }
    double value = 0;
    double scale = 0;  // 0 before the decimal sign, then the weight of the next digit
    bool digits = false;
    for (; *c && *c != 'e' && *c != 'E'; ++c) {
        if (*c == '.' || *c == ',') {
            if (scale != 0)
                numberError("Too many decimalsigns!!");
            scale = 0.1;
        } else if (*c >= '0' && *c <= '9') {
            digits = true;
            if (scale == 0) {
                value = value * 10 + (*c - '0');
            } else {
                value += (*c - '0') * scale;
                scale *= 0.1;
            }
        } else {
            numberError("Illegal ASCII-char in number field!!");
        }
    }
    if (*c == 'e' || *c == 'E') {
        ++c;
        double factor = 10;
        if (*c == '-') {
            factor = 0.1;
            ++c;
        } else if (*c == '+') {
            ++c;
        }
        if (!*c)
            numberError("Illegal ASCII-char in number field!!");
        int exponent = 0;
        for (; *c; ++c) {
            if (*c < '0' || *c > '9')
                numberError("Illegal ASCII-char in number field!!");
            // Past a few hundred the value is infinite or zero anyway.
            if (exponent < 400)
                exponent = exponent * 10 + (*c - '0');
        }
        for (int i = 0; i < exponent && i < 400; ++i)
            value *= factor;
    }
    if (!digits)
        numberError("Illegal ASCII-char in number field!!");
    return float(negative ? -value : value);
}

int readInteger(const std::string& text)
{
    const float value = readNumber(text);
    if (!(value > -2147483520.0f))
        return value < 0 ? -2147483647 : 0;
    if (value > 2147483520.0f)
        return 2147483647;
    return int(value);
}

unsigned readHex(const std::string& text)
{
    if (text.empty() || text.size() > 8)
        numberError("Wrong hex number!");
    unsigned value = 0;
    for (char c : text) {
        if (c >= 'a' && c <= 'f')
            c = char(c - 'a' + 'A');
        if (c >= '0' && c <= '9')
            value = value * 16 + unsigned(c - '0');
        else if (c >= 'A' && c <= 'F')
            value = value * 16 + unsigned(c - 'A' + 10);
        else
            numberError("Wrong hex number!");
    }
    return value;
}

} // namespace LW
