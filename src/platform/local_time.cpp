#include "platform/local_time.h"

#include <time.h>

namespace quillon::platform {

std::string formatLocalTime(const char* format) {
    const time_t now = time(nullptr);
    tm local {};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char buffer[128];
    const size_t length = strftime(buffer, sizeof buffer, format, &local);
    return std::string(buffer, length);
}

}  // namespace quillon::platform
