#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "app/startup.h"
#include "platform/dialog.h"

// Runs without a person answer the question from SKYDRIFT_ANSWER and never
// show the box.
TEST(Dialog, AutomatedAnswersSkipTheBox)
{
    const struct {
        const char* value;
        platform::Answer answer;
    } cases[] = {{"yes", platform::Answer::Yes}, {"no", platform::Answer::No}, {"cancel", platform::Answer::Cancel}};
    for (const auto& c : cases) {
        setenv("SKYDRIFT_ANSWER", c.value, 1);
        EXPECT_EQ(platform::askYesNoCancel("DISCLAIMER", "Preload everything?"), c.answer) << c.value;
    }
    unsetenv("SKYDRIFT_ANSWER");
}

namespace {

std::vector<std::string> wordsOf(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

// The disclaimer as a box shows it: every line within the columns, the
// same words in the same order, its paragraphs and its tabbed list kept.
TEST(Dialog, BoxTextWrapsAtWordsWithinTheColumns)
{
    for (size_t columns : {40u, 72u, 80u}) {
        const std::string wrapped = platform::wrapForBox(kDisclaimerText, columns);
        for (const std::string& line : linesOf(wrapped))
            EXPECT_LE(line.size(), columns) << line;
        EXPECT_EQ(wordsOf(wrapped), wordsOf(kDisclaimerText)) << columns;
        EXPECT_EQ(wrapped.find('\t'), std::string::npos);
        EXPECT_NE(wrapped.find("\n\nWe have to warn you"), std::string::npos) << wrapped;
        EXPECT_NE(wrapped.find("\n    - 400+MHz processor,\n"), std::string::npos) << wrapped;
    }
    const struct {
        const char* text;
        size_t columns;
        const char* wrapped;
    } cases[] = {
        {"one two three", 7, "one two\nthree"},
        {"one two three", 100, "one two three"},
        {"a unbreakableword b", 5, "a\nunbreakableword\nb"},
        {"line\n\nnext", 10, "line\n\nnext"},
        {"\tx", 10, "    x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::wrapForBox(c.text, c.columns), c.wrapped) << c.text;
}
