// Preloaded into a test process: while the environment variable TACKNOTE_FAIL_SYNC is
// "1", every fsync and fdatasync fails with EIO, as on a failing disk; otherwise the
// calls go through to the system.

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>

namespace {

bool failing() {
    const char* value = std::getenv("TACKNOTE_FAIL_SYNC");
    return value && std::strcmp(value, "1") == 0;
}

using SyncFunction = int (*)(int);

int forward(const char* name, int fd) {
    auto real = reinterpret_cast<SyncFunction>(dlsym(RTLD_NEXT, name));
    return real ? real(fd) : -1;
}

} // namespace

extern "C" int fsync(int fd) {
    if (failing()) {
        errno = EIO;
        return -1;
    }
    return forward("fsync", fd);
}

extern "C" int fdatasync(int fd) {
    if (failing()) {
        errno = EIO;
        return -1;
    }
    return forward("fdatasync", fd);
}
