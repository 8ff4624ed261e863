#include "platform/desktopsession.h"

#include <QDir>

#include <windows.h>

namespace kugelfon::desktopsession {

QString folder()
{
    // %TEMP%: the user's own.
    return QDir::tempPath();
}

QString key()
{
    // The user's name, should two share a temporary folder, and the session:
    // one user may be logged on locally and by remote desktop at once.
    wchar_t name[257] = {};
    DWORD size = 257;
    const QString user = GetUserNameW(name, &size) ? QString::fromWCharArray(name)
                                                   : qEnvironmentVariable("USERNAME");
    DWORD session = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &session);
    return user + QLatin1Char('-') + QString::number(session);
}

std::optional<QPoint> windowOrigin(quintptr)
{
    // Windows tells a window where it is as it moves; Qt knows it already.
    return std::nullopt;
}

void allowToFront(qint64 pid)
{
    // Windows lets only the program the user just started take the focus;
    // this start passes that on to the running one.
    AllowSetForegroundWindow(DWORD(pid));
}

} // namespace kugelfon::desktopsession
