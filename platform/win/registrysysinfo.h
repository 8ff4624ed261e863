#pragma once

#include "platform/sysinfo.h"

#include <QString>

#include <optional>

namespace kugelfon {

// Windows' system information program (MSINFO32), looked up in the registry
// as Microsoft's own programs do: first the full path in "PATH" under
// "...\Shared Tools\MSINFO", then the folder in "MSINFO" under
// "...\Shared Tools Location" with MSINFO32.EXE in it.
class RegistrySystemInfo final : public ISystemInfoLauncher {
public:
    enum class Root { LocalMachine, CurrentUser };

    // Tests point the lookup at keys of their own below another root.
    explicit RegistrySystemInfo(Root root = Root::LocalMachine,
                                QString keyPrefix = QStringLiteral("SOFTWARE\\Microsoft\\"));

    // The path to start: the first key's value as read (even empty or
    // naming no file: its start then fails), else the second key's folder
    // with MSINFO32.EXE when that file exists, else empty.
    QString find() const;
    bool start() override;

    // A string value below the root; nullopt when the key or value cannot be
    // read. Values of other types read as an empty string.
    std::optional<QString> value(const QString &key, const QString &name) const;

private:
    Root m_root;
    QString m_prefix;
};

} // namespace kugelfon
