#include "platform/console.h"

#include <windows.h>
#include <shellapi.h>

namespace kugelfon::console {

namespace {

// Kugelfon.exe is a window program: started from a console without
// redirection it has no standard handles and writes to its parent's console.
HANDLE parentConsole()
{
    static const HANDLE console = [] {
        if (!AttachConsole(ATTACH_PARENT_PROCESS))
            return INVALID_HANDLE_VALUE;
        return CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    }();
    return console;
}

bool write(DWORD which, const QString &text)
{
    HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        handle = parentConsole();
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        // A console shows Unicode whatever its code page; it ends a line at '\n'.
        const auto *chars = reinterpret_cast<const wchar_t *>(text.utf16());
        DWORD left = DWORD(text.size());
        while (left > 0) {
            DWORD written = 0;
            if (!WriteConsoleW(handle, chars, left, &written, nullptr) || written == 0)
                return false;
            chars += written;
            left -= written;
        }
        return true;
    }
    // A pipe or a file: UTF-8 with '\n', the same bytes as on Linux.
    const QByteArray bytes = text.toUtf8();
    const char *data = bytes.constData();
    DWORD left = DWORD(bytes.size());
    while (left > 0) {
        DWORD written = 0;
        if (!WriteFile(handle, data, left, &written, nullptr) || written == 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

} // namespace

bool writeOut(const QString &text)
{
    return write(STD_OUTPUT_HANDLE, text);
}

bool writeError(const QString &text)
{
    return write(STD_ERROR_HANDLE, text);
}

QStringList arguments(int argc, char **argv)
{
    // argv comes in the ANSI code page, where a letter outside it turns
    // into '?': the command line itself is Unicode.
    QStringList out;
    int count = 0;
    if (LPWSTR *wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i)
            out << QString::fromWCharArray(wide[i]);
        LocalFree(wide);
    } else {
        for (int i = 0; i < argc; ++i)
            out << QString::fromLocal8Bit(argv[i]);
    }
    return out;
}

} // namespace kugelfon::console
