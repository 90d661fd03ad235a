#include "formats/format_detection.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace quillon {
namespace {

// A run converts WinFax files and leaves TIFF files alone, by their names;
// every other name is no WinFax file.
TEST(FormatDetection, NamesTellWinFaxAndTiffFilesFromTheRest) {
    enum Kind { WinFax, Tiff, Other };
    const std::pair<const char*, Kind> cases[] = {
        {"/fax/A.FXD", WinFax}, {"a.Fxs", WinFax}, {"a.fxm", WinFax}, {"a.fxr", WinFax}, {"a.fxd2", WinFax},
        {"a.fx", Other}, {"a.TIFF", Tiff}, {"a.tif", Tiff}, {"a.tiffany", Tiff}, {"a.ti", Other},
        {"a.awd", Other}, {"a.txt", Other}, {"a.", Other},
        // The last dot of the whole path counts, also one in a folder name.
        {"/my.folder/fax", Other}, {"/my.fxd/fax", WinFax},
        // Without any dot only the last two characters are looked at.
        {"/faxes/fxd", Other}, {"/faxes/tif", Other}, {"", Other},
    };
    for (const auto& [path, kind] : cases) {
        const FaxFormat format = detectFormat(path);
        EXPECT_EQ(format == FaxFormat::WinFax ? WinFax : format == FaxFormat::Tiff ? Tiff : Other, kind) << path;
    }
}

TEST(FormatDetection, G3fFilesAreToldApartByTheirFirstBytes) {
    test::TempDir dir;
    const auto make = [&](const std::string& name, const std::string& bytes) {
        test::writeFile(dir / name, bytes);
        return (dir / name).string();
    };
    EXPECT_EQ(detectFormat(make("short.g3f", std::string("\x00\x00", 2))), FaxFormat::Unknown);
    EXPECT_EQ(detectFormat(make("tiff.G3F", std::string("\x00\x00\x2A\x00", 4))), FaxFormat::RawG3);
    EXPECT_EQ(detectFormat(make("pcr.g3f", "#PC Research, Inc and more")), FaxFormat::Digifax);
    EXPECT_EQ(detectFormat(make("both.g3f", std::string("\x00P\x2A\x00", 4) + "Research, Inc")), FaxFormat::RawG3)
        << "the TIFF test comes first";
    EXPECT_EQ(detectFormat(make("other.g3f", "#PC Research, Inx")), FaxFormat::Unknown);
    EXPECT_EQ(detectFormat((dir / "missing.g3f").string()), FaxFormat::Unknown);
}

}  // namespace
}  // namespace quillon
