#include "app/display.h"

#include "nativeplatform.h"
#include "platform/console.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QList>

#include <cstdio>
#include <cstdlib>

namespace kugelfon {

namespace {

struct Held {
    QtMsgType type;
    QByteArray file, function, category;
    int line;
    QString text;
};

QtMessageHandler previousHandler = nullptr;
QList<Held> *heldMessages = nullptr;

void fail(const QByteArray &german)
{
    console::writeError(QString::fromUtf8(german) + '\n');
    std::_Exit(1);
}

// The plugin file of each platform Debian ships, and the package bringing it.
struct Plugin {
    const char *key, *file, *package;
};
constexpr Plugin kPlugins[] = {
    {"xcb", "libqxcb.so", "libqt6gui6"},
    {"wayland", "libqwayland-generic.so", "qt6-wayland"},
    {"wayland-egl", "libqwayland-egl.so", "qt6-wayland"},
    {"offscreen", "libqoffscreen.so", "libqt6gui6"},
    {"minimal", "libqminimal.so", "libqt6gui6"},
    {"linuxfb", "libqlinuxfb.so", "libqt6gui6"},
    {"vkkhrdisplay", "libqvkkhrdisplay.so", "libqt6gui6"},
    {"vnc", "libqvnc.so", "qt6-qpa-plugins"},
    {"eglfs", "libqeglfs.so", "libqt6opengl6"},
    {"minimalegl", "libqminimalegl.so", "libqt6opengl6"},
};

const Plugin *knownPlugin(const QByteArray &key)
{
    for (const Plugin &p : kPlugins)
        if (key == p.key)
            return &p;
    return nullptr;
}

// Where Qt looks for platform plugins.
QStringList installedPlatformPlugins()
{
    QStringList dirs{QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms")};
    for (const QString &d : qEnvironmentVariable("QT_PLUGIN_PATH").split(QDir::listSeparator(),
                                                                         Qt::SkipEmptyParts))
        dirs << d + QStringLiteral("/platforms");
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM_PLUGIN_PATH"))
        dirs << qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH");
    QStringList files;
    for (const QString &d : dirs)
        files << QDir(d).entryList(QDir::Files);
    return files;
}

QString cannotLoad(const QString &platform)
{
    return QStringLiteral("Kugelfon: Die Qt-Plattform „%1“ lässt sich nicht laden; ohne sie kann Kugelfon "
                          "nicht starten.")
        .arg(platform);
}

// Qt's complaints while the platform plugin starts are held back: they end
// in an abort when no display can be reached, and the user should read one
// German line instead.
QString unopened;

void holdMessages(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg)
        fail(unopened.toUtf8());
    heldMessages->append({type, context.file, context.function, context.category, context.line, text});
}

} // namespace

PlatformChoice choosePlatform(const QByteArray &qpaPlatform, const QByteArray &wayland,
                              const QByteArray &x11, const QStringList &installedPlugins)
{
    PlatformChoice out;
    if (!qpaPlatform.isEmpty())
        out.platform = qpaPlatform;
    else if (!x11.isEmpty())
        out.platform = "xcb";
    else if (!wayland.isEmpty())
        out.platform = "wayland";
    else {
        out.problem = QStringLiteral("Kugelfon braucht eine grafische Oberfläche, aber es ist keine "
                                     "Anzeige da (weder DISPLAY noch WAYLAND_DISPLAY gesetzt).");
        return out;
    }
    // Qt tries the platforms of a list in turn ("wayland;xcb"), each with its
    // own arguments after a colon, passing over those it cannot start. Where
    // none can, the first one asked for is named.
    for (const QByteArray &entry : out.platform.split(';')) {
        const QByteArray key = entry.split(':').first();
        const Plugin *p = knownPlugin(key);
        QString why;
        if (p && !installedPlugins.contains(QString::fromLatin1(p->file)))
            why = QStringLiteral("Kugelfon: Die Qt-Plattform „%1“ ist nicht installiert; sie kommt mit dem "
                                 "Debian-Paket %2.")
                      .arg(QString::fromLatin1(p->key), QString::fromLatin1(p->package));
        else if (key == "xcb" && x11.isEmpty())
            why = QStringLiteral("Kugelfon: Die Qt-Plattform „xcb“ braucht eine X11-Anzeige, aber DISPLAY ist "
                                 "nicht gesetzt.");
        if (!why.isEmpty()) {
            out.problem = out.problem.isEmpty() ? why : out.problem;
            continue;
        }
        // Qt tries this one first; should it fail after all, its display is named
        // (Wayland's own default where none is set).
        const QByteArray display = key == "xcb" ? x11 : wayland.isEmpty() ? QByteArray("wayland-0") : wayland;
        out.unopened = key == "xcb" || key.startsWith("wayland")
            ? QStringLiteral("Kugelfon: Die grafische Oberfläche (Anzeige „%1“) lässt sich nicht öffnen; ohne "
                             "sie kann Kugelfon nicht starten.")
                  .arg(QString::fromLocal8Bit(display))
            : cannotLoad(QString::fromLocal8Bit(out.platform));
        out.problem.clear();
        return out;
    }
    return out;
}

std::unique_ptr<QApplication> openApplication(int &argc, char **argv)
{
    const QByteArray explicitPlatform = qgetenv("QT_QPA_PLATFORM");
    if constexpr (kDisplayFromEnvironment) {
        const PlatformChoice choice = choosePlatform(explicitPlatform, qgetenv("WAYLAND_DISPLAY"),
                                                     qgetenv("DISPLAY"), installedPlatformPlugins());
        if (!choice.problem.isEmpty())
            fail(choice.problem.toUtf8());
        unopened = choice.unopened;
        // Qt itself would prefer Wayland where both are offered. The choice is
        // the program's own: programs it starts get the environment it was given.
        if (explicitPlatform.isEmpty())
            qputenv("QT_QPA_PLATFORM", choice.platform);
    } else {
        // The desktop is always there, and the platforms are linked in.
        unopened = cannotLoad(explicitPlatform.isEmpty() ? QStringLiteral("windows")
                                                         : QString::fromLocal8Bit(explicitPlatform));
    }

    QList<Held> held;
    heldMessages = &held;
    previousHandler = qInstallMessageHandler(holdMessages);
    auto app = std::make_unique<QApplication>(argc, argv);
    if (explicitPlatform.isEmpty())
        qunsetenv("QT_QPA_PLATFORM");
    qInstallMessageHandler(previousHandler);
    heldMessages = nullptr;
    for (const Held &m : held) {
        const QMessageLogContext context(m.file.constData(), m.line, m.function.constData(),
                                         m.category.constData());
        qt_message_output(m.type, context, m.text);
    }
    return app;
}

} // namespace kugelfon
