#include "platform/qt/qtresources.h"

#include <QFile>

namespace kugelfon {

namespace {

QByteArray fileContents(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

QByteArray QtResources::recording(int id) const
{
    return fileContents(QStringLiteral(":/recordings/%1.wav").arg(id));
}

QByteArray QtResources::picture(const QString &name) const
{
    return fileContents(QStringLiteral(":/images/%1.png").arg(name));
}

} // namespace kugelfon
