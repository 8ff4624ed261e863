#include "app/display.h"

#include "nativeplatform.h"

#include <QApplication>
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
    std::fputs(german.constData(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
    std::_Exit(1);
}

QByteArray displayName()
{
    const QByteArray x11 = qgetenv("DISPLAY");
    return x11.isEmpty() ? qgetenv("WAYLAND_DISPLAY") : x11;
}

// While the platform plugin starts, Qt's complaints are held back: they end
// in an abort when no display can be reached, and the user should read one
// German line instead.
void holdMessages(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg)
        fail("Kugelfon: Die grafische Oberfläche (Anzeige „" + displayName()
             + "“) lässt sich nicht öffnen; ohne sie kann Kugelfon nicht starten.");
    heldMessages->append({type, context.file, context.function, context.category, context.line, text});
}

} // namespace

std::unique_ptr<QApplication> openApplication(int &argc, char **argv)
{
    const bool platformChosen = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (!platformChosen && kDisplayFromEnvironment && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        fail("Kugelfon braucht eine grafische Oberfläche, aber es ist keine Anzeige da "
             "(weder DISPLAY noch WAYLAND_DISPLAY gesetzt).");

    QList<Held> held;
    heldMessages = &held;
    previousHandler = qInstallMessageHandler(holdMessages);
    auto app = std::make_unique<QApplication>(argc, argv);
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
