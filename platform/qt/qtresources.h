#pragma once

#include "platform/resources.h"

namespace kugelfon {

// Reads the resources compiled into the program (":/recordings/<id>.wav",
// ":/images/<name>.png").
class QtResources final : public IResources {
public:
    QByteArray recording(int id) const override;
    QByteArray picture(const QString &name) const override;
};

} // namespace kugelfon
