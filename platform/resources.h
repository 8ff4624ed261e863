#pragma once

#include <QByteArray>
#include <QString>

namespace kugelfon {

// Data carried in the program, by numeric identifier.
class IResources {
public:
    virtual ~IResources() = default;
    // A recording's WAVE image; empty when there is none of that identifier.
    virtual QByteArray recording(int id) const = 0;
    // A picture's image file (help pages, logos), for QImage::fromData; empty
    // when there is none. Bytes, not an image, so the game's layer and its
    // tests need no GUI library.
    virtual QByteArray picture(const QString &name) const = 0;
};

} // namespace kugelfon
