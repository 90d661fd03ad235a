// The fields that pass from input to output unchanged, each read back in the
// type libtiff hands it out.

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "tiffcopy/test_images.h"
#include "tiffcopy/tiff_messages.h"
#include "tiffcopy/tiff_page_copier.h"

namespace quillon::test {
namespace {

// Opens the first image of each file for one test's reads.
class CopiedPair {
public:
    CopiedPair(const std::string& input, const std::string& output)
        : in_(TIFFOpen(input.c_str(), "r")), out_(TIFFOpen(output.c_str(), "r")) {}
    ~CopiedPair() {
        if (in_) TIFFClose(in_);
        if (out_) TIFFClose(out_);
    }
    CopiedPair(const CopiedPair&) = delete;
    CopiedPair& operator=(const CopiedPair&) = delete;

    TIFF* in() const { return in_; }
    TIFF* out() const { return out_; }

    template <typename Value>
    void expectSame(std::uint32_t tag) const {
        Value expected{}, actual{};
        ASSERT_TRUE(TIFFGetField(in_, tag, &expected)) << "input lacks tag " << tag;
        ASSERT_TRUE(TIFFGetField(out_, tag, &actual)) << "output lacks tag " << tag;
        EXPECT_EQ(actual, expected) << "tag " << tag;
    }
    void expectSameText(std::uint32_t tag) const {
        char* expected = nullptr;
        char* actual = nullptr;
        ASSERT_TRUE(TIFFGetField(in_, tag, &expected)) << "input lacks tag " << tag;
        ASSERT_TRUE(TIFFGetField(out_, tag, &actual)) << "output lacks tag " << tag;
        EXPECT_STREQ(actual, expected) << "tag " << tag;
    }
    template <typename Value>
    void expectSameArray(std::uint32_t tag, std::size_t count) const {
        Value* expected = nullptr;
        Value* actual = nullptr;
        ASSERT_TRUE(TIFFGetField(in_, tag, &expected)) << "input lacks tag " << tag;
        ASSERT_TRUE(TIFFGetField(out_, tag, &actual)) << "output lacks tag " << tag;
        EXPECT_EQ(std::vector<Value>(actual, actual + count), std::vector<Value>(expected, expected + count))
            << "tag " << tag;
    }
    void expectSamePair(std::uint32_t tag) const {
        std::uint16_t expected[2] = {}, actual[2] = {};
        ASSERT_TRUE(TIFFGetField(in_, tag, &expected[0], &expected[1])) << "input lacks tag " << tag;
        ASSERT_TRUE(TIFFGetField(out_, tag, &actual[0], &actual[1])) << "output lacks tag " << tag;
        EXPECT_EQ(actual[0], expected[0]) << "tag " << tag;
        EXPECT_EQ(actual[1], expected[1]) << "tag " << tag;
    }

private:
    TIFF* in_;
    TIFF* out_;
};

std::string copyWith(const TempDir& dir, const TestImage& image, std::int32_t choice) {
    const std::string input = (dir / "in.tif").string();
    const std::string output = (dir / "out.tif").string();
    writeTestTiff(input, {withPattern(image)});
    CopyOptions options;
    options.compressionChoice = choice;
    EXPECT_EQ(copyTiff(input, output, options), copyTiffDone);
    return output;
}

TEST(TagCopy, DescriptiveFieldsTablesAndProfilePass) {
    static const std::vector<std::uint16_t> transfer = [] {
        std::vector<std::uint16_t> table(256);
        for (std::size_t i = 0; i < table.size(); ++i) table[i] = static_cast<std::uint16_t>(i * i);
        return table;
    }();
    static float whitePoint[2] = {0.3127f, 0.329f};
    static float primaries[6] = {0.64f, 0.33f, 0.3f, 0.6f, 0.15f, 0.06f};
    static float blackWhite[6] = {0, 255, 0, 255, 0, 255};
    static const char profile[] = "not really an ICC profile, but bytes all the same";
    TestImage rgba;
    rgba.samplesPerPixel = 4;
    rgba.photometric = PHOTOMETRIC_RGB;
    rgba.setMoreFields = [](TIFF* tif) {
        const std::uint16_t alpha = EXTRASAMPLE_ASSOCALPHA;
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &alpha);
        TIFFSetField(tif, TIFFTAG_TRANSFERFUNCTION, transfer.data(), transfer.data(), transfer.data());
        TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
        TIFFSetField(tif, TIFFTAG_THRESHHOLDING, THRESHHOLD_HALFTONE);
        TIFFSetField(tif, TIFFTAG_DOCUMENTNAME, "document");
        TIFFSetField(tif, TIFFTAG_IMAGEDESCRIPTION, "description");
        TIFFSetField(tif, TIFFTAG_MAKE, "make");
        TIFFSetField(tif, TIFFTAG_MODEL, "model");
        TIFFSetField(tif, TIFFTAG_MINSAMPLEVALUE, 3);
        TIFFSetField(tif, TIFFTAG_MAXSAMPLEVALUE, 250);
        TIFFSetField(tif, TIFFTAG_XRESOLUTION, 300.0);
        TIFFSetField(tif, TIFFTAG_YRESOLUTION, 150.0);
        TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_CENTIMETER);
        TIFFSetField(tif, TIFFTAG_PAGENAME, "page name");
        TIFFSetField(tif, TIFFTAG_XPOSITION, 1.5);
        TIFFSetField(tif, TIFFTAG_YPOSITION, 2.25);
        TIFFSetField(tif, TIFFTAG_SOFTWARE, "software");
        TIFFSetField(tif, TIFFTAG_DATETIME, "2026:12:08 05:00:00");
        TIFFSetField(tif, TIFFTAG_ARTIST, "artist");
        TIFFSetField(tif, TIFFTAG_HOSTCOMPUTER, "host");
        TIFFSetField(tif, TIFFTAG_WHITEPOINT, whitePoint);
        TIFFSetField(tif, TIFFTAG_PRIMARYCHROMATICITIES, primaries);
        TIFFSetField(tif, TIFFTAG_HALFTONEHINTS, 10, 240);
        TIFFSetField(tif, TIFFTAG_TARGETPRINTER, "printer");
        TIFFSetField(tif, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_UINT);
        TIFFSetField(tif, TIFFTAG_REFERENCEBLACKWHITE, blackWhite);
        TIFFSetField(tif, TIFFTAG_SMINSAMPLEVALUE, 2.0);
        TIFFSetField(tif, TIFFTAG_SMAXSAMPLEVALUE, 251.0);
        TIFFSetField(tif, TIFFTAG_STONITS, 0.125);
        TIFFSetField(tif, TIFFTAG_ICCPROFILE, static_cast<std::uint32_t>(sizeof profile), profile);
    };
    TempDir dir;
    const CopiedPair pair((dir / "in.tif").string(), copyWith(dir, rgba, 9));
    ASSERT_TRUE(pair.in() && pair.out());

    pair.expectSame<std::uint32_t>(TIFFTAG_SUBFILETYPE);
    for (std::uint32_t tag : {TIFFTAG_THRESHHOLDING, TIFFTAG_MINSAMPLEVALUE, TIFFTAG_MAXSAMPLEVALUE,
                              TIFFTAG_RESOLUTIONUNIT, TIFFTAG_SAMPLEFORMAT})
        pair.expectSame<std::uint16_t>(tag);
    for (std::uint32_t tag : {TIFFTAG_DOCUMENTNAME, TIFFTAG_IMAGEDESCRIPTION, TIFFTAG_MAKE, TIFFTAG_MODEL,
                              TIFFTAG_PAGENAME, TIFFTAG_SOFTWARE, TIFFTAG_DATETIME, TIFFTAG_ARTIST,
                              TIFFTAG_HOSTCOMPUTER, TIFFTAG_TARGETPRINTER})
        pair.expectSameText(tag);
    for (std::uint32_t tag : {TIFFTAG_XRESOLUTION, TIFFTAG_YRESOLUTION, TIFFTAG_XPOSITION, TIFFTAG_YPOSITION})
        pair.expectSame<float>(tag);
    for (std::uint32_t tag : {TIFFTAG_SMINSAMPLEVALUE, TIFFTAG_SMAXSAMPLEVALUE, TIFFTAG_STONITS})
        pair.expectSame<double>(tag);
    pair.expectSameArray<float>(TIFFTAG_WHITEPOINT, 2);
    pair.expectSameArray<float>(TIFFTAG_PRIMARYCHROMATICITIES, 6);
    pair.expectSameArray<float>(TIFFTAG_REFERENCEBLACKWHITE, 6);
    pair.expectSamePair(TIFFTAG_HALFTONEHINTS);

    std::uint16_t extraCount = 0;
    std::uint16_t* extra = nullptr;
    ASSERT_TRUE(TIFFGetField(pair.out(), TIFFTAG_EXTRASAMPLES, &extraCount, &extra));
    ASSERT_EQ(extraCount, 1);
    EXPECT_EQ(extra[0], EXTRASAMPLE_ASSOCALPHA);

    std::uint16_t* curves[3] = {};
    ASSERT_TRUE(TIFFGetField(pair.out(), TIFFTAG_TRANSFERFUNCTION, &curves[0], &curves[1], &curves[2]));
    for (std::uint16_t* curve : curves) EXPECT_EQ(std::vector<std::uint16_t>(curve, curve + 256), transfer);

    std::uint32_t profileLength = 0;
    void* copiedProfile = nullptr;
    ASSERT_TRUE(TIFFGetField(pair.out(), TIFFTAG_ICCPROFILE, &profileLength, &copiedProfile));
    EXPECT_EQ(std::string(static_cast<const char*>(copiedProfile), profileLength),
              std::string(profile, sizeof profile));
}

TEST(TagCopy, InksAndColorMapPass) {
    static const char inkNames[] = "Cyan\0Magenta\0Yellow\0Black";
    TestImage cmyk;
    cmyk.samplesPerPixel = 4;
    cmyk.photometric = PHOTOMETRIC_SEPARATED;
    cmyk.setMoreFields = [](TIFF* tif) {
        TIFFSetField(tif, TIFFTAG_INKSET, INKSET_CMYK);
        TIFFSetField(tif, TIFFTAG_NUMBEROFINKS, 4);
        TIFFSetField(tif, TIFFTAG_INKNAMES, static_cast<int>(sizeof inkNames), inkNames);
        TIFFSetField(tif, TIFFTAG_DOTRANGE, 5, 250);
    };
    TempDir dir;
    {
        const CopiedPair pair((dir / "in.tif").string(), copyWith(dir, cmyk, 10));
        ASSERT_TRUE(pair.in() && pair.out());
        pair.expectSame<std::uint16_t>(TIFFTAG_INKSET);
        pair.expectSame<std::uint16_t>(TIFFTAG_NUMBEROFINKS);
        pair.expectSamePair(TIFFTAG_DOTRANGE);
        char* names = nullptr;
        ASSERT_TRUE(TIFFGetField(pair.out(), TIFFTAG_INKNAMES, &names));
        EXPECT_EQ(std::string(names, sizeof inkNames), std::string(inkNames, sizeof inkNames));
    }
    TestImage palette;
    palette.photometric = PHOTOMETRIC_PALETTE;
    const CopiedPair pair((dir / "in.tif").string(), copyWith(dir, palette, 1));
    ASSERT_TRUE(pair.in() && pair.out());
    std::uint16_t* expected[3] = {};
    std::uint16_t* actual[3] = {};
    ASSERT_TRUE(TIFFGetField(pair.in(), TIFFTAG_COLORMAP, &expected[0], &expected[1], &expected[2]));
    ASSERT_TRUE(TIFFGetField(pair.out(), TIFFTAG_COLORMAP, &actual[0], &actual[1], &actual[2]));
    for (int channel = 0; channel < 3; ++channel)
        EXPECT_EQ(std::vector<std::uint16_t>(actual[channel], actual[channel] + 256),
                  std::vector<std::uint16_t>(expected[channel], expected[channel] + 256));
}

TEST(TagCopy, FaxFieldsPassIntoGroup4) {
    TestImage page = faxPage(400, 50, COMPRESSION_CCITTFAX3);
    page.setMoreFields = [](TIFF* tif) {
        TIFFSetField(tif, TIFFTAG_BADFAXLINES, 7u);
        TIFFSetField(tif, TIFFTAG_CLEANFAXDATA, CLEANFAXDATA_REGENERATED);
        TIFFSetField(tif, TIFFTAG_CONSECUTIVEBADFAXLINES, 3u);
        TIFFSetField(tif, TIFFTAG_FAXRECVPARAMS, 0x1234u);
        TIFFSetField(tif, TIFFTAG_FAXRECVTIME, 42u);
        TIFFSetField(tif, TIFFTAG_FAXSUBADDRESS, "5551234");
    };
    TempDir dir;
    const CopiedPair pair((dir / "in.tif").string(), copyWith(dir, page, 6));
    ASSERT_TRUE(pair.in() && pair.out());
    for (std::uint32_t tag : {TIFFTAG_BADFAXLINES, TIFFTAG_CONSECUTIVEBADFAXLINES, TIFFTAG_FAXRECVPARAMS,
                              TIFFTAG_FAXRECVTIME})
        pair.expectSame<std::uint32_t>(tag);
    pair.expectSame<std::uint16_t>(TIFFTAG_CLEANFAXDATA);
    pair.expectSameText(TIFFTAG_FAXSUBADDRESS);
}

}  // namespace
}  // namespace quillon::test
