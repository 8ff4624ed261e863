#pragma once

#include <QByteArray>

class QImage;

namespace kugelfon {

// Data carried in the program, by numeric identifier.
class IResources {
public:
    virtual ~IResources() = default;
    // A recording's WAVE image; empty when there is none of that identifier.
    virtual QByteArray recording(int id) const = 0;
    // A picture (help pages, logos); null when there is none.
    virtual QImage picture(const QString &name) const = 0;
};

} // namespace kugelfon
