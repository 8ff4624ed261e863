#include "platform/soundfailure.h"

namespace kugelfon {

namespace {

QString whatFailed(SoundTrouble trouble)
{
    switch (trouble) {
    case SoundTrouble::Open:
        return QStringLiteral("das Gerät lässt sich nicht öffnen");
    case SoundTrouble::Format:
        return QStringLiteral("das Gerät nimmt das Tonformat der Ansagen nicht an");
    case SoundTrouble::Silent:
        return QStringLiteral("das Gerät nimmt die Ansage nicht ab, es spielt nicht");
    case SoundTrouble::Stalled:
        return QStringLiteral("das Gerät bleibt mitten in der Ansage stehen");
    case SoundTrouble::PlayError:
        return QStringLiteral("das Gerät meldet einen Fehler beim Abspielen");
    case SoundTrouble::NoAnswer:
        return QStringLiteral("der Tondienst antwortet nicht");
    }
    return {};
}

} // namespace

QString soundFailureNotice(const QString &device, SoundTrouble trouble, const QString &whatToCheck)
{
    return QStringLiteral("Kugelfon kann die Zahlen nicht ansagen. Tonausgabe über %1 nicht möglich: %2.\r\r%3\r\r"
                          "Das Spiel läuft ohne Ansage weiter; Kugelfon versucht es bei jeder Zahl wieder.")
        .arg(device, whatFailed(trouble), whatToCheck);
}

QString soundFailureLine(const QString &device, SoundTrouble trouble, const QString &detail)
{
    return QStringLiteral("Kugelfon: Tonausgabe über %1 nicht möglich: %2%3 – die Zahlen werden ohne Ansage angezeigt.\n")
        .arg(device, whatFailed(trouble), detail.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(detail));
}

} // namespace kugelfon
