#include "mission/ErrorText.h"

#include <cstring>

namespace kestrane {

std::string ErrorText(int err) {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 32))
    // Not strerror: the window system may set the locale meanwhile on another
    // thread, and the rest of each message is English.
    const char* why = strerrordesc_np(err);
    return why != nullptr ? why : "unknown error " + std::to_string(err);
#else
    // Other C libraries (WebAssembly's among them) have only strerror, whose
    // descriptions are English whatever the locale.
    return std::strerror(err);
#endif
}

}  // namespace kestrane
