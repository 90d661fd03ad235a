#include "tiffcopy/tiff_messages.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

#include <tiffio.h>

namespace quillon {
namespace {

// The window's worker thread copies while the GUI thread takes the messages.
std::mutex routeMutex;
TiffMessageTarget currentTarget = TiffMessageTarget::standardError;
std::vector<std::string> collected;

enum class Kind { error, warning, faxDecodingError };

void deliver(const std::string& line, Kind kind = Kind::error) {
    std::lock_guard lock(routeMutex);
    switch (currentTarget) {
    case TiffMessageTarget::standardError:
        std::fputs(line.c_str(), stderr);
        break;
    case TiffMessageTarget::errorsToStandardError:
        if (kind != Kind::warning) std::fputs(line.c_str(), stderr);
        break;
    case TiffMessageTarget::errorsButFaxDecodingToStandardError:
        if (kind == Kind::error) std::fputs(line.c_str(), stderr);
        break;
    case TiffMessageTarget::collect:
        if (collected.size() < maxCollectedTiffMessages) collected.push_back(line);
        break;
    case TiffMessageTarget::discard:
        break;
    }
}

std::string formatArguments(const char* format, va_list arguments) {
    va_list measuring;
    va_copy(measuring, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, arguments);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// The same layout as libtiff's default handlers: "module: [Warning, ]text.\n".
std::string libtiffLine(const char* module, const char* prefix, const char* format, va_list arguments) {
    std::string line;
    if (module) line.append(module).append(": ");
    line.append(prefix).append(formatArguments(format, arguments)).append(".\n");
    return line;
}

void warningHandler(const char* module, const char* format, va_list arguments) {
    deliver(libtiffLine(module, "Warning, ", format, arguments), Kind::warning);
}

// libtiff's CCITT decoders name themselves "Fax3Decode1D", "Fax4Decode" and so on.
bool isFaxDecoder(const char* module) { return module && std::strncmp(module, "Fax", 3) == 0; }

void errorHandler(const char* module, const char* format, va_list arguments) {
    deliver(libtiffLine(module, "", format, arguments), isFaxDecoder(module) ? Kind::faxDecodingError : Kind::error);
}

}  // namespace

void routeTiffMessages(TiffMessageTarget target) {
    {
        std::lock_guard lock(routeMutex);
        currentTarget = target;
    }
    TIFFSetWarningHandler(warningHandler);
    TIFFSetErrorHandler(errorHandler);
}

std::vector<std::string> takeTiffMessages() {
    std::lock_guard lock(routeMutex);
    std::vector<std::string> taken;
    taken.swap(collected);
    return taken;
}

void reportTiffMessage(const std::string& line) { deliver(line); }

}  // namespace quillon
