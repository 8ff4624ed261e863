#pragma once

namespace kugelfon {

// Ending the program at once: every window closes without close events.
class IApplication {
public:
    virtual ~IApplication() = default;
    virtual void quit() = 0;
    virtual bool quitRequested() const = 0;
};

} // namespace kugelfon
