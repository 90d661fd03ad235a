#pragma once
// Collects libtiff's warnings and errors while it is alive, so a test can
// demand that a file opens without a complaint. One warning is expected and
// left out: the Software entry is 22 bytes, "Orvane Studio" padded with NULs,
// and libtiff remarks on the NULs inside the value.

#include <tiffio.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

namespace quillon::test {

class LibtiffMessages {
public:
    LibtiffMessages() {
        messages().clear();
        previousWarning_ = TIFFSetWarningHandler(collect);
        previousError_ = TIFFSetErrorHandler(collect);
    }
    ~LibtiffMessages() {
        TIFFSetWarningHandler(previousWarning_);
        TIFFSetErrorHandler(previousError_);
    }
    LibtiffMessages(const LibtiffMessages&) = delete;
    LibtiffMessages& operator=(const LibtiffMessages&) = delete;

    const std::vector<std::string>& all() const { return messages(); }

private:
    static std::vector<std::string>& messages() {
        static std::vector<std::string> list;
        return list;
    }
    static void collect(const char* module, const char* format, va_list args) {
        char text[512];
        std::vsnprintf(text, sizeof text, format, args);
        if (std::string(text).starts_with("ASCII value for tag \"Software\" contains null byte")) return;
        messages().push_back(std::string(module ? module : "") + ": " + text);
    }

    TIFFErrorHandler previousWarning_;
    TIFFErrorHandler previousError_;
};

}  // namespace quillon::test
