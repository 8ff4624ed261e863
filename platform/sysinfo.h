#pragma once

namespace kugelfon {

// Finds and starts the operating system's system information program
// (the about window's System-Info button). Windows would look it up in the registry; other desktops
// search their own places.
class ISystemInfoLauncher {
public:
    virtual ~ISystemInfoLauncher() = default;
    // Starts the program without waiting for it. False when none was found or
    // it could not be started; the caller then tells the user.
    virtual bool start() = 0;
};

} // namespace kugelfon
