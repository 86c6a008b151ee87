#include <gtest/gtest.h>

#include <string>

#include "log/logger.h"

namespace {

struct CountingLogger : hlv::Logger {
    int* destroyed;
    std::string text;
    explicit CountingLogger(int* d) : destroyed(d) {}
    ~CountingLogger() override { ++*destroyed; }
    void write(const char* format, va_list args) override
    {
        char buffer[256];
        vsnprintf(buffer, sizeof buffer, format, args);
        text += buffer;
    }
};

} // namespace

TEST(Logger, InstallingWithDeleteOldDeletesThePreviousLogger)
{
    int destroyedA = 0, destroyedB = 0;
    auto* a = new CountingLogger(&destroyedA);
    hlv::setLogger(a, true);
    hlv::log("\n%d unique vertices", 5);
    EXPECT_EQ(a->text, "\n5 unique vertices");

    auto* b = new CountingLogger(&destroyedB);
    hlv::setLogger(b, true);
    EXPECT_EQ(destroyedA, 1);
    EXPECT_EQ(hlv::currentLogger(), b);

    // Without deleteOld the caller keeps the old logger.
    CountingLogger kept(&destroyedA);
    hlv::setLogger(&kept, true);
    EXPECT_EQ(destroyedB, 1);
    auto* c = new CountingLogger(&destroyedB);
    hlv::setLogger(c, false);
    EXPECT_EQ(destroyedA, 1);
    hlv::log("x");
    EXPECT_TRUE(kept.text.empty());
    EXPECT_EQ(c->text, "x");
}

TEST(Logger, EmptyHolderIgnoresMessages)
{
    hlv::setLogger(nullptr, true);
    hlv::log("\n%d unique vertices", 5);
    EXPECT_EQ(hlv::currentLogger(), nullptr);
}
