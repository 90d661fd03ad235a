#include "tiff/tiff_messages.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

#include <tiffio.h>

namespace quillon {
namespace {

// Workers write outputs while the target is read.
std::atomic<TiffMessageTarget> currentTarget{TiffMessageTarget::errorsToStandardError};

void warningHandler(const char*, const char*, va_list) {}

// The same layout as libtiff's default handler: "module: text.\n", one write.
void errorHandler(const char* module, const char* format, va_list arguments) {
    if (currentTarget != TiffMessageTarget::errorsToStandardError) return;
    char text[1024];
    std::vsnprintf(text, sizeof text, format, arguments);
    std::fprintf(stderr, "%s%s%s.\n", module ? module : "", module ? ": " : "", text);
}

}  // namespace

void routeTiffMessages(TiffMessageTarget target) {
    currentTarget = target;
    TIFFSetWarningHandler(warningHandler);
    TIFFSetErrorHandler(errorHandler);
}

}  // namespace quillon
