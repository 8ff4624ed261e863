#include "platform/win/registrysysinfo.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <windows.h>

#include <algorithm>
#include <string>

namespace kugelfon {

namespace {

// Room for a path, as the lookup has always had; a longer value fails.
constexpr DWORD kBufferChars = 1024;

struct KeyCloser {
    HKEY key = nullptr;
    ~KeyCloser()
    {
        if (key)
            RegCloseKey(key);
    }
};

QString expanded(const QString &text)
{
    std::wstring in = text.toStdWString();
    const DWORD size = ExpandEnvironmentStringsW(in.c_str(), nullptr, 0);
    if (size == 0)
        return text;
    std::wstring out(size, L'\0');
    ExpandEnvironmentStringsW(in.c_str(), out.data(), size);
    return QString::fromWCharArray(out.c_str());
}

} // namespace

RegistrySystemInfo::RegistrySystemInfo(Root root, QString keyPrefix)
    : m_root(root), m_prefix(std::move(keyPrefix))
{
}

std::optional<QString> RegistrySystemInfo::value(const QString &key, const QString &name) const
{
    // Read rights only: asking for write rights as well would fail for every
    // user who is not an administrator, although the program is there.
    KeyCloser k;
    const HKEY root = m_root == Root::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    if (RegOpenKeyExW(root, reinterpret_cast<LPCWSTR>(key.utf16()), 0, KEY_QUERY_VALUE, &k.key)
        != ERROR_SUCCESS) {
        k.key = nullptr;
        return std::nullopt;
    }
    wchar_t buffer[kBufferChars] = {};
    DWORD type = 0;
    DWORD bytes = sizeof buffer;
    if (RegQueryValueExW(k.key, reinterpret_cast<LPCWSTR>(name.utf16()), nullptr, &type,
                         reinterpret_cast<LPBYTE>(buffer), &bytes)
        != ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return QString();
    // A string that fills the buffer without its terminating zero is cut
    // off somewhere unknown: a failed read, not a wrong path.
    const DWORD chars = bytes / sizeof(wchar_t);
    const wchar_t *end = std::find(buffer, buffer + chars, L'\0');
    if (end == buffer + kBufferChars)
        return std::nullopt;
    const QString text = QString::fromWCharArray(buffer, end - buffer);
    return type == REG_EXPAND_SZ ? expanded(text) : text;
}

QString RegistrySystemInfo::find() const
{
    if (const auto path = value(m_prefix + QStringLiteral("Shared Tools\\MSINFO"), QStringLiteral("PATH")))
        return *path;
    const auto folder = value(m_prefix + QStringLiteral("Shared Tools Location"), QStringLiteral("MSINFO"));
    if (!folder)
        return {};
    const QString path = *folder + QStringLiteral("\\MSINFO32.EXE");
    return QFileInfo(path).isFile() ? path : QString();
}

bool RegistrySystemInfo::start()
{
    const QString path = find();
    if (path.isEmpty())
        return false;
    // Detached: the about window neither waits for it nor ends it.
    return QProcess::startDetached(QDir::fromNativeSeparators(path), {});
}

} // namespace kugelfon
