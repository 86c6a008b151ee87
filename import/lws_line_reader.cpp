#include "import/lws_line_reader.h"

#include <cmath>
#include <cstdarg>
#include <cstring>

#include "import/importer_context.h"
#include "log/logger.h"

namespace LW {

void parseError(const char* format, ...)
{
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    hlv::log("%s", text);
    throw true;
}

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r'; }

} // namespace

bool LineReader::next()
{
    if (kept_) {
        kept_ = false;
        return !tokens_.empty();
    }
    while (position_ < text_.size()) {
        size_t end = text_.find('\n', position_);
        if (end == std::string::npos)
            end = text_.size();
        const size_t begin = position_;
        position_ = end < text_.size() ? end + 1 : end;
        ++lineNumber_;
        if (end - begin > kMaxLineLength)
            parseError("\n%sLine %d is longer than %d characters.", indent(), lineNumber_, int(kMaxLineLength));

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
        parseError("\n%sMissing value on line %d ('%s').", indent(), lineNumber_,
                   tokens_.empty() ? "" : tokens_[0].text.c_str());
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
                loadFailure("Too many decimalsigns!!");
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
            loadFailure("Illegal ASCII-char in number field!!");
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
            loadFailure("Illegal ASCII-char in number field!!");
        int exponent = 0;
        for (; *c; ++c) {
            if (*c < '0' || *c > '9')
                loadFailure("Illegal ASCII-char in number field!!");
            // Past a few hundred the value is infinite or zero anyway.
            if (exponent < 400)
                exponent = exponent * 10 + (*c - '0');
        }
        for (int i = 0; i < exponent && i < 400; ++i)
            value *= factor;
    }
    if (!digits)
        loadFailure("Illegal ASCII-char in number field!!");
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
        loadFailure("Wrong hex number!");
    unsigned value = 0;
    for (char c : text) {
        if (c >= 'a' && c <= 'f')
            c = char(c - 'a' + 'A');
        if (c >= '0' && c <= '9')
            value = value * 16 + unsigned(c - '0');
        else if (c >= 'A' && c <= 'F')
            value = value * 16 + unsigned(c - 'A' + 10);
        else
            loadFailure("Wrong hex number!");
    }
    return value;
}

} // namespace LW
