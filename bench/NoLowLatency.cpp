// Preloaded into tq20 by bench_rig_load: clears the low-latency flag of every TIOCSSERIAL, so
// that the port keeps its driver's default latency.
#include <asm/ioctls.h>
#include <dlfcn.h>
#include <linux/serial.h>

#include <cstdarg>

extern "C" int ioctl(int fd, unsigned long request, ...) noexcept {
    va_list arguments;
    va_start(arguments, request);
    void* argument = va_arg(arguments, void*);
    va_end(arguments);
    using Ioctl = int (*)(int, unsigned long, ...);
    static const auto real = reinterpret_cast<Ioctl>(::dlsym(RTLD_NEXT, "ioctl"));
    if (request == TIOCSSERIAL && argument != nullptr) {
        static_cast<serial_struct*>(argument)->flags &= ~ASYNC_LOW_LATENCY;
    }
    return real(fd, request, argument);
}
