#include "engine/format_detection.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace quillon {
namespace {

TEST(FormatDetection, ExtensionsPickTheFormat) {
    struct Case {
        const char* path;
        int format;
    };
    const Case cases[] = {
        {"/fax/A.FXD", 11}, {"a.Fxs", 11}, {"a.fxm", 11}, {"a.fxr", 11}, {"a.fx", 0},
        {"a.TIFF", 16}, {"a.tif", 16}, {"a.ti", 0}, {"a.tiffany", 16}, {"a.fxd2", 11},
        {"a.dbf", -2}, {"a.edx", 9}, {"a.dsk", 8}, {"a.txt", -2}, {"a.awd", 3}, {"a.cals", 6},
        {"a.fmf", 10}, {"a.orv", 18}, {"a.g3n", 17}, {"a.", 0},
        // The last dot of the whole path counts, also one in a folder name.
        {"/my.folder/fax", 0}, {"/my.fxd/fax", 11},
        // Without any dot the last two characters serve as the extension.
        {"/faxes/reads", 8}, {"x", 0}, {"", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(int(detectFormat(c.path)), c.format) << c.path;
}

TEST(FormatDetection, G3fFilesAreToldApartByTheirFirstBytes) {
    test::TempDir dir;
    const auto make = [&](const std::string& name, const std::string& bytes) {
        test::writeFile(dir / name, bytes);
        return (dir / name).string();
    };
    EXPECT_EQ(int(detectFormat(make("short.g3f", std::string("\x00\x00", 2)))), 0);
    EXPECT_EQ(int(detectFormat(make("tiff.G3F", std::string("\x00\x00\x2A\x00", 4)))), 17);
    EXPECT_EQ(int(detectFormat(make("pcr.g3f", "#PC Research, Inc and more"))), 12);
    EXPECT_EQ(int(detectFormat(make("both.g3f", std::string("\x00P\x2A\x00", 4) + "Research, Inc"))), 17)
        << "the TIFF test comes first";
    EXPECT_EQ(int(detectFormat(make("other.g3f", "#PC Research, Inx"))), 0);
    EXPECT_EQ(int(detectFormat((dir / "missing.g3f").string())), 0);
}

}  // namespace
}  // namespace quillon
