#include "app/output_format.h"

#include <strings.h>

namespace quillon {

bool namesPdf(std::string_view path) {
    constexpr std::string_view extension = ".pdf";
    return path.size() >= extension.size() &&
           strncasecmp(path.data() + path.size() - extension.size(), extension.data(), extension.size()) == 0;
}

}  // namespace quillon
