#include "formats/format_readers.h"

#include "formats/bmp_reader.h"
#include "formats/cals_reader.h"
#include "formats/dcx_reader.h"
#include "formats/g3_reader.h"
#include "formats/tiff_reader.h"
#include "formats/winfax_reader.h"

namespace quillon {

std::unique_ptr<FaxPages> readerFor(FaxFormat format, const ConvertOptions& options, const std::string& path,
                                    std::span<const std::uint8_t> bytes) {
    switch (format) {
        case FaxFormat::WinFax: return std::make_unique<WinFaxReader>();
        case FaxFormat::Tiff: return std::make_unique<TiffReader>(path);
        case FaxFormat::Bmp: return std::make_unique<BmpReader>();
        case FaxFormat::Cals: return std::make_unique<CalsReader>();
        case FaxFormat::Dcx: return std::make_unique<DcxReader>();
        case FaxFormat::RawG3:
            if (startsWithTiffHeader(bytes)) return std::make_unique<TiffReader>(path);
            return std::make_unique<G3Reader>(G3Layout::Raw, options.verticalResolution);
        case FaxFormat::Digifax: return std::make_unique<G3Reader>(G3Layout::Digifax, options.verticalResolution);
        default: break;
    }
    return nullptr;
}

}  // namespace quillon
