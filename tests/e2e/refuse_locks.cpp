// Loaded into quillon with LD_PRELOAD, makes the file system refuse record
// locks as NFS without its lock service does (ENOLCK); other fcntl calls go
// through.

#include <dlfcn.h>
#include <fcntl.h>

#include <cerrno>
#include <cstdarg>

namespace {

int refuseLocks(const char* real, int fd, int command, va_list args) {
    void* argument = va_arg(args, void*);
    if (command == F_SETLK || command == F_SETLKW || command == F_OFD_SETLK || command == F_OFD_SETLKW) {
        errno = ENOLCK;
        return -1;
    }
    using Fcntl = int (*)(int, int, ...);
    return reinterpret_cast<Fcntl>(dlsym(RTLD_NEXT, real))(fd, command, argument);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int fcntl(int fd, int command, ...) {
    va_list args;
    va_start(args, command);
    const int result = refuseLocks("fcntl", fd, command, args);
    va_end(args);
    return result;
}

extern "C" __attribute__((visibility("default"))) int fcntl64(int fd, int command, ...) {
    va_list args;
    va_start(args, command);
    const int result = refuseLocks("fcntl64", fd, command, args);
    va_end(args);
    return result;
}
