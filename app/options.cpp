#include "app/options.h"

#include "nativeplatform.h"
#include "platform/appinfo.h"

#include <QCommandLineParser>
#include <QTextBoundaryFinder>

namespace kugelfon {

namespace {

struct Option {
    QStringList names;
    const char *description;
};

// Qt's own help and version options describe themselves in English, so
// these are the program's.
const Option kOptions[] = {
    {{QStringLiteral("fenster")},
     "Läuft in einem Fenster auf jedem Bildschirm, in der größten der Anordnungen 640 x 480, "
     "800 x 600, 1024 x 768 und 1280 x 1024, die auf den Bildschirm passt; ist er kleiner, "
     "in der kleinsten, verkleinert, bis zu einer freien Fläche von 520 x 418. Ohne diese "
     "Option läuft Kugelfon nur auf Bildschirmen genau dieser vier Größen."},
    {{QStringLiteral("saalanzeige")},
     "Öffnet zusätzlich eine Saalanzeige für die Spieler mit der aktuellen Zahl, der Zahl der "
     "gezeigten Zahlen und der Tafel aller gezogenen Zahlen: auf einem zweiten Bildschirm "
     "(Beamer, Fernseher) bildschirmfüllend, sonst als Fenster."},
    {{QStringLiteral("h"), QStringLiteral("help")}, "Zeigt diese Hilfe an."},
    {{QStringLiteral("v"), QStringLiteral("version")}, "Zeigt die Versionsnummer an."},
};

// What the user typed, as the error line echoes it: a long text (a pasted
// file, a runaway script) is cut so that the line stays readable, between
// two characters as the user sees them.
QString echoed(const QString &typed)
{
    constexpr qsizetype kLongest = 40;
    if (typed.size() <= kLongest)
        return typed;
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, typed.left(kLongest));
    characters.setPosition(kLongest - 1);
    if (!characters.isAtBoundary())
        characters.toPreviousBoundary();
    return typed.left(characters.position()) + QStringLiteral("…");
}

} // namespace

StartOptions parseStartOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const Option &o : kOptions)
        parser.addOption(QCommandLineOption(o.names, QString::fromUtf8(o.description)));

    // Where Windows users ask for the help with "/?", it is "--help".
    QStringList args = arguments;
    for (qsizetype i = 1; kSlashQuestionMarkAsksHelp && i < args.size() && args[i] != QLatin1String("--"); ++i)
        if (args[i] == QLatin1String("/?"))
            args[i] = QStringLiteral("--help");

    StartOptions out;
    if (!parser.parse(args)) {
        // The parser knows the name without its dashes; the user reads it as typed.
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            QString typed = unknown.first();
            for (const QString &a : arguments.mid(1)) {
                if (a == QLatin1String("--"))
                    break;
                const QString name = a.mid(a.startsWith(QLatin1String("--")) ? 2 : 1)
                                         .section(QLatin1Char('='), 0, 0);
                if (a.startsWith(QLatin1Char('-')) && name == unknown.first()) {
                    typed = a.section(QLatin1Char('='), 0, 0);
                    break;
                }
            }
            out.error = QStringLiteral("Kugelfon: Unbekannte Option „%1“. Mit --help zeigt "
                                       "Kugelfon, was es versteht.")
                            .arg(echoed(typed));
        } else {
            // The only other complaint: a value given to an option that takes none.
            QString given;
            for (const QString &a : arguments.mid(1))
                if (a.startsWith(QLatin1Char('-')) && a.contains(QLatin1Char('=')) && given.isEmpty())
                    given = a;
            out.error = QStringLiteral("Kugelfon: „%1“ wird nicht verstanden; die Optionen nehmen "
                                       "keinen Wert.")
                            .arg(echoed(given));
        }
        return out;
    }
    if (!parser.positionalArguments().isEmpty()) {
        out.error = QStringLiteral("Kugelfon: Unbekanntes Argument „%1“. Mit --help zeigt Kugelfon, "
                                   "was es versteht.")
                        .arg(echoed(parser.positionalArguments().first()));
        return out;
    }
    out.windowed = parser.isSet(QStringLiteral("fenster"));
    out.hallDisplay = parser.isSet(QStringLiteral("saalanzeige"));
    out.help = parser.isSet(QStringLiteral("help"));
    out.version = parser.isSet(QStringLiteral("version"));
    return out;
}

QString helpText()
{
    constexpr int kColumns = 80;
    const QString kIndent = QStringLiteral("      ");
    QString text = QStringLiteral("Aufruf: %1 [Optionen]\n"
                                  "Bingo-Ausrufer: zieht die Zahlen eines Spiels, zeigt sie groß an\n"
                                  "und sagt sie an.\n\nOptionen:\n")
                       .arg(QLatin1String(kCommandName));
    for (const Option &o : kOptions) {
        QStringList names;
        if (kSlashQuestionMarkAsksHelp && o.names.contains(QStringLiteral("help")))
            names << QStringLiteral("/?");
        for (const QString &n : o.names)
            names << (n.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + n;
        text += QStringLiteral("  ") + names.join(QStringLiteral(", ")) + QLatin1Char('\n');
        // Wrapped to fit a terminal of 80 columns.
        QString line;
        for (const QString &word : QString::fromUtf8(o.description).split(QLatin1Char(' '))) {
            if (!line.isEmpty() && kIndent.size() + line.size() + 1 + word.size() > kColumns) {
                text += kIndent + line + QLatin1Char('\n');
                line.clear();
            }
            line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
        }
        text += kIndent + line + QLatin1Char('\n');
    }
    return text;
}

QString versionText()
{
    return appinfo::productWithVersion() + QLatin1Char('\n');
}

} // namespace kugelfon
