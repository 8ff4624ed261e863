#include "platform/spoolstatus.h"

#include <cstring>
#include <dlfcn.h>

namespace kugelfon {

namespace {

// Qt hands the finished document to CUPS without saying whether CUPS took it.
// libcups keeps the IPP status of the last request of this thread; it is
// already loaded by Qt's print support, so it is looked up, not linked.
int lastCupsStatus()
{
    using StatusFn = int (*)();
    static StatusFn fn = nullptr;
    if (!fn) {
        void *lib = dlopen("libcups.so.2", RTLD_LAZY | RTLD_NOLOAD);
        if (!lib)
            return 0;
        void *sym = dlsym(lib, "cupsLastError");
        if (sym)
            std::memcpy(&fn, &sym, sizeof fn);
        dlclose(lib);
        if (!fn)
            return 0;
    }
    return fn();
}

constexpr int kIppFirstError = 0x0400;

} // namespace

bool spoolerRefusedLastJob()
{
    return lastCupsStatus() >= kIppFirstError;
}

} // namespace kugelfon
