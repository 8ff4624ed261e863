#include "platform/qtresources.h"

#include <QImage>

#include <QFile>

namespace kugelfon {

QByteArray QtResources::recording(int id) const
{
    QFile file(QStringLiteral(":/recordings/%1.wav").arg(id));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QImage QtResources::picture(const QString &name) const
{
    return QImage(QStringLiteral(":/images/%1.png").arg(name));
}

} // namespace kugelfon
