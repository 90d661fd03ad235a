#include "run/request/output_format.h"

#include <strings.h>

namespace quillon {

namespace {

bool endsWithNoCase(std::string_view path, std::string_view extension) {
    return path.size() >= extension.size() &&
           strncasecmp(path.data() + path.size() - extension.size(), extension.data(), extension.size()) == 0;
}

}  // namespace

bool namesPdf(std::string_view path) { return endsWithNoCase(path, ".pdf"); }
bool namesTiff(std::string_view path) { return endsWithNoCase(path, ".tif") || endsWithNoCase(path, ".tiff"); }

std::string pdfFileName(std::string_view path) {
    for (const std::string_view tiff : {".tif", ".tiff"})
        if (endsWithNoCase(path, tiff)) return std::string(path.substr(0, path.size() - tiff.size())) + ".pdf";
    return std::string(path);
}

}  // namespace quillon
