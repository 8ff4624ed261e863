#pragma once

namespace kugelfon {

class IApplication;
class IMessageBoxes;
class IPrinters;
class IRandom;
class IResources;
class IScreenList;
class IScreenMetrics;
class ISoundOutput;
class ISystemInfoLauncher;
class ITimerFactory;

// A service that is always there: made from a reference, never null, and
// used like a pointer.
template <class T>
class Required {
public:
    Required(T &service) : m_service(&service) {} // NOLINT: meant to convert
    Required(T *) = delete;
    T *operator->() const { return m_service; }
    T &operator*() const { return *m_service; }

private:
    T *m_service;
};

// The operating-system services the program uses. main() hands over the real
// ones, tests hand over fakes; every one must be given. None is owned here.
struct Services {
    Required<ITimerFactory> timers;
    Required<IMessageBoxes> messages;
    Required<IScreenMetrics> screen;
    Required<ISoundOutput> sound;
    Required<IRandom> random;
    Required<IResources> resources;
    Required<IApplication> app;
    Required<IPrinters> printers;
    Required<ISystemInfoLauncher> sysinfo;
    Required<IScreenList> screens; // the desktop's screens
};

} // namespace kugelfon
