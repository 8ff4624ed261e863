#pragma once

#include "kugelfon_version.h"

#include <QString>

namespace kugelfon::appinfo {

inline constexpr int kMajor = version::kMajor;
inline constexpr int kMinor = version::kMinor;

inline QString productName() { return QStringLiteral("Kugelfon"); }
inline QString title() { return QStringLiteral("Kugelfon"); }
// The project version, "<major>.<minor>".
inline QString versionText() { return QStringLiteral("%1.%2").arg(kMajor).arg(kMinor); }
// "Kugelfon <version>", the start of every secondary window's caption.
inline QString productWithVersion() { return productName() + QLatin1Char(' ') + versionText(); }

// Until the project has a domain of its own, its addresses live under the
// reserved example.org.
inline QString webAddress() { return QStringLiteral("www.kugelfon.example.org"); }
inline QString mailAddress() { return QStringLiteral("kontakt@kugelfon.example.org"); }
inline QString makerNotice() { return QStringLiteral("\u00A9 2026 Kugelfon-Projekt"); }
// Two lines joined by a carriage return, as message texts are.
inline QString makerNoticeTwoLines() { return QStringLiteral("\u00A9 2026\rKugelfon-Projekt"); }

} // namespace kugelfon::appinfo
