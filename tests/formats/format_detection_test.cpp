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
    const auto detect = [](const std::string& name, const std::string& head) {
        return detectFormat(name, std::span(reinterpret_cast<const std::uint8_t*>(head.data()), head.size()));
    };
    EXPECT_EQ(detect("short.g3f", std::string("\x00\x00", 2)), FaxFormat::Unknown);
    EXPECT_EQ(detect("tiff.G3F", std::string("\x00\x00\x2A\x00", 4)), FaxFormat::RawG3);
    EXPECT_EQ(detect("pcr.g3f", "#PC Research, Inc and more"), FaxFormat::Digifax);
    EXPECT_EQ(detect("both.g3f", std::string("\x00P\x2A\x00", 4) + "Research, Inc"), FaxFormat::RawG3)
        << "the TIFF test comes first";
    EXPECT_EQ(detect("other.g3f", "#PC Research, Inx"), FaxFormat::Unknown);
    EXPECT_EQ(detect("empty.g3f", ""), FaxFormat::Unknown);
    EXPECT_EQ(detect("a.fxd", "#PC Research, Inc"), FaxFormat::WinFax) << "only a .g3f name looks at the bytes";

    // A folder walk reads the first bytes by the path, and of .g3f files only.
    test::TempDir dir;
    test::writeFile(dir / "pcr.g3f", "#PC Research, Inc and more");
    EXPECT_EQ(inputFormatAt("pcr.g3f", (dir / "pcr.g3f").string()), FaxFormat::Digifax);
    EXPECT_EQ(inputFormatAt("missing.g3f", (dir / "missing.g3f").string()), FaxFormat::RawG3);
    EXPECT_EQ(inputFormatAt("a.fxd", (dir / "pcr.g3f").string()), FaxFormat::WinFax);
}

}  // namespace
}  // namespace quillon
