#include "tools/hlvtool/verbose_lines.h"

#include <regex>

#include "tools/hlvtool/utf8_text.h"

namespace hlvtool {

namespace {

std::string fileName(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The importer's own bookkeeping: weld passes, per-surface UV counters.
bool isCounter(const std::string& line)
{
    static const std::regex counters(R"(^(point cloud :.*|\[S\d+\] UVsets:\d+|\d+ UVsets|OK\.|loading OK.*))");
    return std::regex_match(line, counters);
}

} // namespace

void VerboseLines::add(const std::string& text)
{
    std::string piece = pending_ + text;
    pending_.clear();
    size_t start = 0;
    while (start < piece.size()) {
        const size_t end = piece.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            // "Reading file 'x'.." is finished by the next piece; any other
            // unfinished text is a line of its own, so that what is written
            // to the terminal next does not run on from it.
            std::string rest = piece.substr(start);
            if (rest.size() >= 2 && rest.compare(rest.size() - 2, 2, "..") == 0)
                pending_ = rest;
            else
                line(rest);
            return;
        }
        line(piece.substr(start, end - start));
        start = end + 1;
    }
}

void VerboseLines::finish()
{
    if (!pending_.empty())
        line(pending_);
    pending_.clear();
}

void VerboseLines::line(std::string text)
{
    // Section rulers: "Processing objects -----".
    while (!text.empty() && (text.back() == '-' || text.back() == ' '))
        text.pop_back();
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos || isCounter(text.substr(first)))
        return;
    text.erase(0, first);
    static const std::regex reading(R"(^Reading file '(.*)'\.\.(.*)$)");
    static const std::regex parsing(R"(^Parsing scene '(.*)'$)");
    static const std::regex processing(R"(^Processing (.*)$)");
    static const std::regex image(R"(^\*\* loading image (.*?)( - .*)?$)");
    std::smatch match;
    std::string message;
    if (std::regex_match(text, match, reading)) {
        current_ = fileName(match[1]);
        message = "reading " + std::string(match[1]) + (match[2] == "ok!" || match[2] == "" ? "" : ": " + std::string(match[2]));
    } else if (std::regex_match(text, match, parsing)) {
        scene_ = current_ = fileName(match[1]);
        message = "reading scene " + std::string(match[1]);
    } else if (std::regex_match(text, match, processing)) {
        // The scene's own steps, after its objects were read.
        current_ = scene_;
        section_ = match[1];
        message = current_ + ": " + section_;
    } else if (std::regex_match(text, match, image)) {
        message = current_ + ": loading image " + std::string(match[1]);
    } else if (section_ == "surfaces") {
        message = current_ + ": surface '" + text + "'";
    } else if (text == "1 surfaces") {
        message = current_ + ": 1 surface";
    } else {
        message = current_.empty() ? text : current_ + ": " + text;
    }
    std::fprintf(out_, "hlvtool: %s\n", utf8Text(message).c_str());
}

} // namespace hlvtool
