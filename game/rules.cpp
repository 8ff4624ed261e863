#include "game/rules.h"

#include <cmath>

namespace kugelfon {

long long roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return 0;
    return static_cast<long long>(std::nearbyint(value)); // default mode: to even
}

bool poolUsedUp(qint16 zahlenModus, int merkerZahl)
{
    return (zahlenModus == 1 && merkerZahl >= 76) || merkerZahl >= 91;
}

int autoIntervalMs(float zahlenInterval)
{
    if (zahlenInterval == 5.0f)
        return 5000;
    if (zahlenInterval == 10.0f)
        return 10000;
    if (zahlenInterval == 20.0f)
        return 20000;
    const double ms = static_cast<double>(zahlenInterval) * 1000.0;
    if (!(ms > 0))
        return 0;
    if (ms > 2147483647.0)
        return 2147483647;
    return static_cast<int>(roundHalfEven(ms));
}

double leadingNumber(const QString &text)
{
    int i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    double value = 0;
    bool any = false;
    while (i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9')) {
        value = value * 10 + (text.at(i).unicode() - '0');
        any = true;
        ++i;
    }
    return any ? value : 0;
}

int recordingIdForNumber(qint16 stimmenModus, int n)
{
    // Formed as text in the original way ("1000" + k below 10, "100" + k from
    // 10 on), which is always 10000 + k.
    const int k = n + 1;
    QString prefix;
    if (stimmenModus == 1)
        prefix = k < 10 ? QStringLiteral("1000") : QStringLiteral("100");
    else if (stimmenModus == 2)
        prefix = k < 10 ? QStringLiteral("2000") : QStringLiteral("200");
    else
        return -1;
    return (prefix + QString::number(k)).toInt();
}

int recordingIdForBingo(qint16 stimmenModus)
{
    if (stimmenModus == 1)
        return 10000;
    if (stimmenModus == 2)
        return 20000;
    return -1;
}

namespace texts {

QString endOfPool()
{
    return QStringLiteral("Zahlenende wurde erreicht, bitte starten Sie ein neues Spiel.");
}

QString quitQuestion() { return QStringLiteral("Möchten Sie das Programm beenden?"); }
QString quitTitle() { return QStringLiteral("Programm schliessen"); }

QString continueQuestion()
{
    return QStringLiteral("Möchten Sie weiterspielen?\r\rJa    = Spiel wird fortgesetzt,\r"
                          "Nein = Beendet dieses Spiel,\r"
                          "            und Start eines neuen Spieles.");
}

QString continueTitle() { return QStringLiteral("Weiterspielen?"); }

QString unsupportedScreen(int width, int height)
{
    // Numbers carry a blank in the sign position, as the original formatting did.
    auto num = [](int v) {
        return v < 0 ? QString::number(v) : QLatin1Char(' ') + QString::number(v);
    };
    return QStringLiteral("Diese Auflösung ") + num(width) + QStringLiteral(" x") + num(height)
        + QStringLiteral(" wird nicht unterstützt.");
}

} // namespace texts

} // namespace kugelfon
