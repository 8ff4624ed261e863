#include "game/sharedstore.h"

#include <memory>

namespace kugelfon {

namespace {
std::unique_ptr<SharedStore> &slot()
{
    static std::unique_ptr<SharedStore> store;
    return store;
}
} // namespace

SharedStore &frmIntern()
{
    auto &s = slot();
    if (!s)
        s = std::make_unique<SharedStore>();
    return *s;
}

bool internExists() { return slot() != nullptr; }

void destroyIntern() { slot().reset(); }

} // namespace kugelfon
