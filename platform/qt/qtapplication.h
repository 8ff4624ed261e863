#pragma once

#include "platform/application.h"

namespace kugelfon {

class QtApplication final : public IApplication {
public:
    void quit() override;
    bool quitRequested() const override { return m_quit; }

private:
    bool m_quit = false;
};

} // namespace kugelfon
