#include "platform/win/runningmark.h"

#include <windows.h>
#include <sddl.h>

namespace kugelfon {

void markRunning()
{
    // In the Global namespace an installer elevated in another session sees
    // it too. Everyone may wait on it, so a second user's Kugelfon opens the
    // same mutex instead of being refused, and the mark lasts while either
    // runs.
    SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, FALSE};
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;0x00100000;;;WD)",
                                                             SDDL_REVISION_1, &descriptor,
                                                             nullptr))
        attributes.lpSecurityDescriptor = descriptor;
    // The handle is never closed: Windows closes it when the process ends.
    CreateMutexExW(&attributes, L"Global\\KugelfonRunning", 0, SYNCHRONIZE);
    LocalFree(descriptor);
}

} // namespace kugelfon
