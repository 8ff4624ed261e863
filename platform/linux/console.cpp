#include "platform/console.h"

#include <cstdio>

namespace kugelfon::console {

namespace {

bool write(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    return std::fputs(bytes.constData(), stream) >= 0 && std::fflush(stream) == 0
           && !std::ferror(stream);
}

} // namespace

bool writeOut(const QString &text)
{
    return write(stdout, text);
}

bool writeError(const QString &text)
{
    return write(stderr, text);
}

QStringList arguments(int argc, char **argv)
{
    QStringList out;
    for (int i = 0; i < argc; ++i)
        out << QString::fromLocal8Bit(argv[i]);
    return out;
}

} // namespace kugelfon::console
