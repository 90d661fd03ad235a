// The loader takes only modules built with this version of the program: one
// of another version, or one that says none, is refused by its path and both
// versions, and its entry is never handed out.

#include "platform/module_loader.h"

#include <gtest/gtest.h>

#include "platform/environment.h"

namespace quillon::platform {
namespace {

// The test modules lie beside this test program (tests/platform/CMakeLists.txt).
std::string besideProgram(const std::string& name) {
    const std::string program = programPath();
    return program.substr(0, program.rfind('/') + 1) + name;
}

TEST(ModuleLoader, TakesOnlyModulesOfItsOwnVersion) {
    std::string error;
    void* entry = moduleFunction("quillon-test-module", "quillonTestModuleEntry", error);
    ASSERT_NE(entry, nullptr) << error;
    EXPECT_EQ(reinterpret_cast<int (*)()>(entry)(), 42);

    error.clear();
    EXPECT_EQ(moduleFunction("quillon-test-module-old", "quillonTestModuleEntry", error), nullptr);
    EXPECT_EQ(error, besideProgram("quillon-test-module-old.so") + ": module of version 2.9.17, but this program "
                                                                    "needs version " QUILLON_VERSION);

    error.clear();
    EXPECT_EQ(moduleFunction("quillon-test-module-unversioned", "quillonTestModuleEntry", error), nullptr);
    EXPECT_EQ(error, besideProgram("quillon-test-module-unversioned.so") +
                         ": module of no known version, but this program needs version " QUILLON_VERSION);

    // A module of the right version without the entry asked for.
    error.clear();
    EXPECT_EQ(moduleFunction("quillon-test-module", "quillonNoSuchEntry", error), nullptr);
    EXPECT_EQ(error, besideProgram("quillon-test-module.so") + ": no quillonNoSuchEntry");
}

}  // namespace
}  // namespace quillon::platform
