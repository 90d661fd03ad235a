#include "tiff/g4_tiff_output.h"

#include <tiffio.h>

#include "platform/local_time.h"

namespace quillon {

namespace {

constexpr char kSoftware[] = "Orvane Studio";
constexpr char kDateTimeFormat[] = "%Y:%m:%d %H:%M:%S";  // TIFF's DateTime

}  // namespace

G4TiffOutput::~G4TiffOutput() { close(); }

bool G4TiffOutput::open(ByteSink& out, const std::string& description) {
    close();
    failed_ = false;
    description_ = description;
    file_.emplace(out);
    tif_ = file_->open("w");
    return tif_ != nullptr;
}

bool G4TiffOutput::beginPage(const G4PageFields& fields) {
    if (!tif_ || failed_) return false;
    strips_ = 0;
    TIFFSetField(tif_, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
    TIFFSetField(tif_, TIFFTAG_IMAGEWIDTH, fields.width);
    // One strip's worth for now: the strip table grows with every strip
    // written, and endPage sets the page's real length.
    TIFFSetField(tif_, TIFFTAG_IMAGELENGTH, fields.rowsPerStrip);
    TIFFSetField(tif_, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(tif_, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif_, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
    TIFFSetField(tif_, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(tif_, TIFFTAG_FILLORDER, fields.msbFirst ? FILLORDER_MSB2LSB : FILLORDER_LSB2MSB);
    TIFFSetField(tif_, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(tif_, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif_, TIFFTAG_ROWSPERSTRIP, fields.rowsPerStrip);
    TIFFSetField(tif_, TIFFTAG_XRESOLUTION, fields.xResolution);
    TIFFSetField(tif_, TIFFTAG_YRESOLUTION, fields.yResolution);
    TIFFSetField(tif_, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(tif_, TIFFTAG_PAGENUMBER, fields.pageIndex, fields.pageCount);
    TIFFSetField(tif_, TIFFTAG_SOFTWARE, kSoftware);
    TIFFSetField(tif_, TIFFTAG_DATETIME, platform::formatLocalTime(kDateTimeFormat).c_str());
    if (fields.group4Options) TIFFSetField(tif_, TIFFTAG_GROUP4OPTIONS, 0u);
    if (!description_.empty()) TIFFSetField(tif_, TIFFTAG_IMAGEDESCRIPTION, description_.c_str());
    return true;
}

bool G4TiffOutput::writeStrip(std::span<const std::uint8_t> strip) {
    if (!tif_ || failed_) return false;
    // A raw strip goes to the file as it is: libtiff only reads the bytes.
    auto* bytes = const_cast<std::uint8_t*>(strip.data());
    failed_ = TIFFWriteRawStrip(tif_, strips_++, bytes, tmsize_t(strip.size())) < 0;
    return !failed_;
}

bool G4TiffOutput::endPage(std::uint32_t rows) {
    if (!tif_ || failed_) return false;
    // What the page wrote before its directory is final once the directory
    // is linked in: only that directory's link to the next one changes later.
    const std::uint64_t pageEnd = file_->end();
    failed_ = !TIFFSetField(tif_, TIFFTAG_IMAGELENGTH, rows) || !TIFFWriteDirectory(tif_) || !file_->settle(pageEnd);
    return !failed_;
}

bool G4TiffOutput::close() {
    if (!tif_) return !failed_;
    // libtiff writes without buffering: every failed write has shown in the
    // strip and directory calls already.
    TIFFClose(tif_);
    tif_ = nullptr;
    failed_ = !file_->finish() || failed_;
    return !failed_;
}

}  // namespace quillon
