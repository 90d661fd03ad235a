#include "formats/format_readers.h"

#include "formats/tiff_reader.h"
#include "formats/winfax_reader.h"

namespace quillon {

std::unique_ptr<FaxPages> readerFor(FaxFormat format, const ConvertOptions& options) {
    (void)options;
    switch (format) {
        case FaxFormat::WinFax: return std::make_unique<WinFaxReader>();
        case FaxFormat::Tiff: return std::make_unique<TiffReader>();
        default: break;
    }
    return nullptr;
}

}  // namespace quillon
