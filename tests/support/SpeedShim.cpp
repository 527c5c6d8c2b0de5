// Preloaded into a program under test, makes every serial device report its speed the way a
// USB-serial driver does: the rate its divisor achieved, not the one asked for. The pairs come
// from TQ20_REPORTED_SPEEDS, for example "115200:115384,9600:9000".
//
// Only the kernel's headers are included: their struct termios2 clashes with glibc's termios.
#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <dlfcn.h>

#include <cstdarg>
#include <cstdlib>

namespace {

void Rewrite(termios2& tio) {
    const char* pairs = std::getenv("TQ20_REPORTED_SPEEDS");
    while (pairs != nullptr && *pairs != '\0') {
        char* end = nullptr;
        const unsigned long set = std::strtoul(pairs, &end, 10);
        if (*end != ':') {
            return;
        }
        const unsigned long reported = std::strtoul(end + 1, &end, 10);
        if (tio.c_ospeed == set) {
            tio.c_ospeed = static_cast<speed_t>(reported);
            tio.c_ispeed = static_cast<speed_t>(reported);
            return;
        }
        pairs = *end == ',' ? end + 1 : end;
    }
}

}  // namespace

extern "C" int ioctl(int fd, unsigned long request, ...) {
    va_list arguments;
    va_start(arguments, request);
    void* argument = va_arg(arguments, void*);
    va_end(arguments);
    using Ioctl = int (*)(int, unsigned long, void*);
    static const auto real = reinterpret_cast<Ioctl>(::dlsym(RTLD_NEXT, "ioctl"));
    const int result = real(fd, request, argument);
    if (result == 0 && request == TCGETS2) {
        Rewrite(*static_cast<termios2*>(argument));
    }
    return result;
}
