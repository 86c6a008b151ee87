#include <gtest/gtest.h>

#include <filesystem>

#include "tests/import/lwo2_test_files.h"

// Found by fuzz_lws: an object path naming a folder opened "successfully"
// and its end offset (LONG_MAX on ext4) became the size of the read buffer,
// which ended the program. It is now a load failure like a missing file.
TEST(ImportRegression, FolderNamedAsObjectFailsToLoad)
{
    std::filesystem::create_directories("folder.lwo");
    bool failed = false;
    std::unique_ptr<hlv::RobustMesh> mesh = loadBuilt("folder.lwo", &failed);
    EXPECT_TRUE(failed);
    EXPECT_FALSE(mesh);
}
