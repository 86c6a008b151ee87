#include <gtest/gtest.h>

#include <cstdlib>

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
