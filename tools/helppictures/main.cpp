// Paints the nine help pictures (help-101.png ... help-110.png) into the
// folder given on the command line. The cut-outs are grabs of the program's
// real windows and menus, made offscreen, so no display is needed.

#include "app/program.h"
#include "game/caller.h"
#include "platform/appinfo.h"
#include "platform/clockrandom.h"
#include "platform/printers.h"
#include "platform/qt/qtscreenmetrics.h"
#include "platform/qt/qtscreenlist.h"
#include "platform/qt/qttimer.h"
#include "platform/services.h"
#include "platform/sysinfo.h"
#include "tickets/checknumber.h"
#include "ui/check/checkwindow.h"
#include "ui/print/printdialog.h"
#include "ui/interval/intervaldialog.h"
#include "ui/main/mainwindow.h"
#include "ui/sheet/checksheet.h"
#include "platform/application.h"
#include "platform/resources.h"
#include "platform/soundoutput.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

using namespace kugelfon;

namespace {

// --------------------------------------------------------------- services
// Just enough for the windows to be built; nothing is played or printed.

class NoMessages final : public IMessageBoxes {
public:
    int show(QWidget *, const QString &, MsgButtons, const QString & = QString()) override
    {
        return kAnswerOk;
    }
    void notice(QWidget *, const QString &) override {}
};

class NoSound final : public ISoundOutput {
public:
    void playWave(const QByteArray &) override {}
};

class NoResources final : public IResources {
public:
    QByteArray recording(int) const override { return {}; }
    QByteArray picture(const QString &) const override { return {}; }
};

class NoApplication final : public IApplication {
public:
    void quit() override {}
    bool quitRequested() const override { return false; }
};

class NoSystemInfo final : public ISystemInfoLauncher {
public:
    bool start() override { return false; }
};

// One printer, as an organiser's machine would list it.
class OnePrinter final : public IPrinters {
public:
    bool answered() const override { return true; }
    void refresh(std::function<void()>) override {}
    QStringList names() const override { return {name()}; }
    QString defaultName() const override { return name(); }
    bool exists(const QString &n) const override { return n == name(); }
    QString current() const override { return name(); }
    void setCurrent(const QString &) override {}
    QSizeF printableAreaMm(const QString &) const override { return {200, 287}; }
    std::unique_ptr<IPrintJob> startJob(const QString &, const QString &) override { return {}; }

private:
    static QString name() { return QStringLiteral("Drucker im Büro"); }
};

// ---------------------------------------------------------------- drawing

const QColor kCyan(0, 255, 255);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
constexpr int kWidth = 500;
constexpr int kHeight = 373;
constexpr int kMargin = 10;

struct Ring {
    QRect around; // in the cut-out's pixels
    QColor colour;
};

struct Cut {
    QImage image;
    QList<Ring> rings;
};

QFont serif(int pixels, bool bold, bool italic = false)
{
    QFont f(QStringLiteral("Liberation Serif"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

void settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

constexpr int kBar = 20; // height of the drawn title bar
constexpr int kEdge = 2;  // width of the drawn window edge

// A window, or a top slice of it, under a title bar of the classic kind, so
// the reader sees a window and its caption; any other part of a window is
// shown with a plain edge.
Cut framed(QWidget *w, QRect part = {})
{
    if (part.isNull())
        part = w->rect();
    const QImage client = w->grab(part).toImage();
    const bool titled = part.topLeft() == QPoint(0, 0) && part.width() == w->width();
    const int bar = titled ? kBar : 0;
    QImage img(client.width() + 2 * kEdge, client.height() + bar + 2 * kEdge, QImage::Format_RGB32);
    img.fill(QColor(192, 192, 192));
    QPainter p(&img);
    if (titled) {
        QLinearGradient g(0, 0, img.width(), 0);
        g.setColorAt(0, QColor(0, 0, 128));
        g.setColorAt(1, QColor(16, 132, 208));
        p.fillRect(QRect(kEdge, kEdge, img.width() - 2 * kEdge, bar - 1), g);
        QFont caption(QStringLiteral("Liberation Sans"));
        caption.setPixelSize(12);
        caption.setBold(true);
        p.setFont(caption);
        p.setPen(Qt::white);
        const QRect captionRect(6, kEdge, img.width() - 30, bar - 1);
        p.drawText(captionRect, Qt::AlignVCenter | Qt::AlignLeft,
                   p.fontMetrics().elidedText(w->windowTitle(), Qt::ElideRight, captionRect.width()));
        // The close box.
        const QRect box(img.width() - 20, 4, 16, 14);
        p.fillRect(box, QColor(192, 192, 192));
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(box.topLeft() + QPoint(4, 3), box.bottomRight() - QPoint(4, 3));
        p.drawLine(box.topRight() + QPoint(-4, 3), box.bottomLeft() + QPoint(4, -3));
    }
    p.drawImage(kEdge, bar + kEdge, client);
    p.setPen(QColor(128, 128, 128));
    p.drawRect(img.rect().adjusted(0, 0, -1, -1));
    return {img, {}};
}

// Where a widget of a window lies in framed(window, part).
QRect inFramed(QWidget *window, QWidget *child, QRect part = {})
{
    if (part.isNull())
        part = window->rect();
    const bool titled = part.topLeft() == QPoint(0, 0) && part.width() == window->width();
    const QRect r(child->mapTo(window, QPoint(0, 0)) - part.topLeft(), child->size());
    return r.translated(kEdge, kEdge + (titled ? kBar : 0));
}

// Cut-outs side by side, top-aligned, on the page's background.
Cut besideEachOther(const QList<Cut> &cuts, int gap)
{
    int width = 0, height = 0;
    for (const Cut &c : cuts) {
        width += c.image.width() + (width ? gap : 0);
        height = std::max(height, c.image.height());
    }
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(kCyan);
    QPainter p(&img);
    Cut out;
    int x = 0;
    for (const Cut &c : cuts) {
        p.drawImage(x, 0, c.image);
        for (const Ring &r : c.rings)
            out.rings.append({r.around.translated(x, 0), r.colour});
        x += c.image.width() + gap;
    }
    p.end();
    out.image = img;
    return out;
}

QImage compose(const QString &heading, const QString &text, const Cut &cut,
               const std::function<void(QPainter &, QRect)> &extra = {})
{
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(kCyan);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(Qt::black);

    QFont head = serif(22, true);
    head.setUnderline(true);
    p.setFont(head);
    const QRect headRect = p.boundingRect(QRect(kMargin, 6, kWidth - 2 * kMargin, 40),
                                          Qt::AlignLeft | Qt::AlignTop, heading);
    p.drawText(headRect, Qt::AlignLeft | Qt::AlignTop, heading);

    p.setFont(serif(14, true));
    const QRect textArea(kMargin, headRect.bottom() + 6, kWidth - 2 * kMargin, kHeight);
    const QRect textRect = p.boundingRect(textArea, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);

    const QRect free(kMargin, textRect.bottom() + 10, kWidth - 2 * kMargin,
                     kHeight - textRect.bottom() - 10 - kMargin);
    if (!cut.image.isNull()) {
        if (cut.image.width() > free.width() || cut.image.height() > free.height())
            std::fprintf(stderr, "help-pictures: cut-out of \"%s\" (%dx%d) exceeds %dx%d\n",
                         qPrintable(heading), cut.image.width(), cut.image.height(),
                         free.width(), free.height());
        const QPoint at(free.left() + (free.width() - cut.image.width()) / 2,
                        free.top() + (free.height() - cut.image.height()) / 2);
        p.drawImage(at, cut.image);
        for (const Ring &r : cut.rings) {
            // Wide enough to go round the item's text; a flat item gets a
            // flat ring rather than one that swallows its neighbours.
            const QRectF around = QRectF(r.around.translated(at));
            const qreal dx = std::clamp(around.width() * 0.08, 10.0, 18.0);
            const qreal dy = std::clamp(around.height() * 0.08, 3.0, 8.0);
            const QRectF ring = around.adjusted(-dx, -dy, dx, dy);
            p.setBrush(Qt::NoBrush);
            // A white halo keeps a red ring visible on red buttons.
            p.setPen(QPen(Qt::white, 4.5));
            p.drawEllipse(ring);
            p.setPen(QPen(r.colour, 2.5));
            p.drawEllipse(ring);
        }
    }
    if (extra)
        extra(p, free);
    p.end();
    return img;
}

// -------------------------------------------------------------- cut-outs

QMenu *menu(MainWindow &w, const char *name)
{
    return w.findChild<QMenu *>(QString::fromUtf8(name));
}
QAction *action(MainWindow &w, const char *name)
{
    return w.findChild<QAction *>(QString::fromUtf8(name));
}

// The main window's top left with the menu bar, and open menus drawn over
// it where they stand on the screen.
struct MenuShot {
    MainWindow &w;
    QImage base;
    QList<std::pair<QMenu *, QPoint>> menus; // with their top left in window pixels

    explicit MenuShot(MainWindow &window) : w(window) {}

    QPoint open(QMenu *m, QPoint atWindow, QAction *active = nullptr)
    {
        m->popup(w.mapToGlobal(atWindow));
        settle();
        if (active)
            m->setActiveAction(active);
        settle();
        menus.append({m, atWindow});
        return atWindow;
    }
    QPoint belowTitle(QMenu *m)
    {
        QMenuBar *bar = w.menuBar();
        const QRect item = bar->actionGeometry(m->menuAction());
        return bar->mapTo(&w, item.bottomLeft() + QPoint(0, 1));
    }
    QPoint rightOf(QMenu *parentMenu, QPoint parentAt, QAction *item)
    {
        const QRect r = parentMenu->actionGeometry(item);
        return parentAt + QPoint(parentMenu->width() - 3, r.top() - 3);
    }
    QRect itemRect(QMenu *m, QPoint at, QAction *a) const { return m->actionGeometry(a).translated(at); }

    Cut take(QList<Ring> rings, int rightMargin = 24, int bottomMargin = 16)
    {
        int right = 0, bottom = 0;
        for (const auto &[m, at] : menus) {
            right = std::max(right, at.x() + m->width());
            bottom = std::max(bottom, at.y() + m->height());
        }
        // The menu bar over the window's empty background: the status row
        // below it would only be cut off and distract.
        QMenuBar *bar = w.menuBar();
        QImage img(right + rightMargin, bottom + bottomMargin, QImage::Format_RGB32);
        img.fill(w.palette().color(QPalette::Window));
        QPainter p(&img);
        p.drawImage(bar->mapTo(&w, QPoint(0, 0)), bar->grab(QRect(0, 0, img.width(), bar->height())).toImage());
        for (const auto &[m, at] : menus)
            p.drawImage(at, m->grab().toImage());
        p.setPen(QColor(128, 128, 128));
        p.drawRect(img.rect().adjusted(0, 0, -1, -1));
        p.end();
        for (const auto &[m, at] : menus)
            m->hide();
        settle();
        return {img, rings};
    }
};

Cut fileMenu(MainWindow &w)
{
    MenuShot s(w);
    QMenu *file = menu(w, "mnuFile");
    QAction *neu = action(w, "mnuNew");
    const QPoint at = s.open(file, s.belowTitle(file), neu);
    return s.take({{s.itemRect(file, at, neu), kRed}}, 40);
}

Cut voiceMenu(MainWindow &w)
{
    MenuShot s(w);
    QMenu *settings = menu(w, "mnuEinstellungen");
    QMenu *voice = menu(w, "mnuStimme");
    const QPoint at = s.open(settings, s.belowTitle(settings), voice->menuAction());
    const QPoint subAt = s.open(voice, s.rightOf(settings, at, voice->menuAction()),
                                action(w, "mnuWeiblich"));
    return s.take({{s.itemRect(voice, subAt, action(w, "mnuWeiblich")), kRed}});
}

Cut automaticMenu(MainWindow &w)
{
    MenuShot s(w);
    QMenu *settings = menu(w, "mnuEinstellungen");
    QMenu *automatic = menu(w, "mnuAuto");
    const QPoint at = s.open(settings, s.belowTitle(settings), automatic->menuAction());
    const QPoint subAt = s.open(automatic, s.rightOf(settings, at, automatic->menuAction()));
    const QRect fixed = s.itemRect(automatic, subAt, action(w, "mnu5Sec"))
                            .united(s.itemRect(automatic, subAt, action(w, "mnu20Sec")));
    return s.take({{fixed, kRed}, {s.itemRect(automatic, subAt, action(w, "mnuManuellSec")), kBlue}});
}

Cut rangeMenu(MainWindow &w)
{
    MenuShot s(w);
    QMenu *settings = menu(w, "mnuEinstellungen");
    const QPoint at = s.open(settings, s.belowTitle(settings));
    const QRect range = s.itemRect(settings, at, action(w, "mnu75Zahlen"))
                            .united(s.itemRect(settings, at, action(w, "mnu90Zahlen")));
    return s.take({{range, kRed}}, 40);
}

Cut intervalDialog()
{
    IntervalDialog d;
    d.show();
    d.slider()->setValue(10);
    settle();
    Cut cut = framed(&d);
    cut.rings = {
        {inFramed(&d, d.slider()), kBlue},
        {inFramed(&d, d.findChild<QLabel *>(QStringLiteral("lblSekundenAnzeige"))), kRed},
    };
    return cut;
}

Cut checkSheet(const Services &services)
{
    const Caller caller(services);
    CheckSheet sheet(caller);
    for (int n : {3, 7, 12, 18, 21, 26, 33, 35, 40, 44, 47})
        sheet.setNumberColour(n, kShown);
    sheet.show();
    settle();
    // The top of the sheet: its hint, the legend and the first four rows.
    const QRect part(0, 0, sheet.width(), sheet.cmdZahl(40)->geometry().bottom() + 1);
    Cut cut = framed(&sheet, part);
    cut.rings = {
        {inFramed(&sheet, sheet.cmdZahl(12), part), kRed},
        {inFramed(&sheet, sheet.cmdZahl(25), part), kBlue},
    };
    return cut;
}

Cut printDialog(const Services &services)
{
    auto *d = new PrintDialog(services, {});
    d->setAttribute(Qt::WA_DeleteOnClose, false);
    d->show();
    settle();
    auto rectOf = [d](const char *name) {
        auto *w = d->findChild<QWidget *>(QString::fromUtf8(name));
        return QRect(w->mapTo(d, QPoint(0, 0)), w->size());
    };
    // Two parts of the options: the number mode and the look of a ticket,
    // ringed at the controls that set them.
    QList<Cut> parts;
    const QRect pool = rectOf("fraZahlenAnzahl").adjusted(-4, -4, 4, 4);
    Cut a = framed(d, pool);
    a.rings = {{rectOf("opt75Zahlen").united(rectOf("opt90Zahlen")).translated(kEdge - pool.x(), kEdge - pool.y()), kRed}};
    const QRect field = rectOf("fraSpielfeld").adjusted(-4, -4, 4, 4);
    Cut b = framed(d, field);
    b.rings = {{rectOf("cboSpalten").united(rectOf("cboBlöcke")).translated(kEdge - field.x(), kEdge - field.y()), kBlue}};
    delete d;
    return besideEachOther({a, b}, 36);
}

// The check window with a ticket of three rows after a dozen numbers, drawn
// smaller: the field ringed red, the verdict blue.
Cut checkWindow(const Services &services)
{
    Caller caller(services);
    caller.newGame();
    for (int i = 0; i < 30; ++i)
        caller.pressStep();
    ShownTicket hall;
    CheckWindow w(caller, hall);
    auto *field = w.findChild<QLineEdit *>(QStringLiteral("txtPrüfnummer"));
    field->setText(groupCheckNumber(encodeCheckNumber({75, 1, 3, 5, true}, 471108, 3)));
    emit field->returnPressed();
    w.show();
    settle();
    constexpr double kScale = 0.41;
    Cut full = framed(&w);
    const auto scaled = [&](const char *name) {
        const QRect r = inFramed(&w, w.findChild<QWidget *>(QString::fromUtf8(name)));
        return QRect((QPointF(r.topLeft()) * kScale).toPoint(), (QSizeF(r.size()) * kScale).toSize());
    };
    Cut cut{full.image.scaledToWidth(int(full.image.width() * kScale), Qt::SmoothTransformation), {}};
    cut.rings = {{scaled("txtPrüfnummer"), kRed}, {scaled("txtUrteil"), kBlue}};
    return cut;
}

bool save(const QImage &img, const QString &dir, int id)
{
    const QString path = QStringLiteral("%1/help-%2.png").arg(dir).arg(id);
    if (!img.convertToFormat(QImage::Format_RGB888).save(path, "PNG")) {
        std::fprintf(stderr, "help-pictures: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// Always offscreen on a 1024 x 768 screen at 96 dots per inch: the
// pictures must not depend on a desktop's look or size.
bool useFixedScreen(const QTemporaryDir &tmp)
{
    const QString screenConfig = tmp.filePath(QStringLiteral("screen.json"));
    {
        QFile f(screenConfig);
        if (!f.open(QIODevice::WriteOnly))
            return false;
        f.write(R"({"screens": [{"name": "s", "x": 0, "y": 0, "width": 1024, "height": 768,)"
                R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    }
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screenConfig.toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", tmp.path().toLocal8Bit());
    return true;
}

struct Page {
    int id;
    QString heading;
    QString text;
    std::function<Cut()> cut;
};

// The help pages with a picture, in the order of the help.
QList<Page> helpPages(MainWindow &main, const Services &services)
{
    return {
        {101, QStringLiteral("Spiel starten"),
         QStringLiteral("Ein neues Spiel starten Sie jederzeit im Menü „Datei“ mit „Neues Spiel“ "
                        "(rote Markierung) oder mit den Tasten Strg und N gleichzeitig."),
         [&] { return fileMenu(main); }},
        {102, QStringLiteral("Stimmenmodus einstellen"),
         QStringLiteral("Unter „Einstellungen“, „Stimmenauswahl“ wählen Sie zwischen der Stimme "
                        "„Weiblich“ und „Männlich“. Das Häkchen zeigt die aktuelle Auswahl (rote "
                        "Markierung). Die Stimme lässt sich auch während eines laufenden Spiels "
                        "umstellen."),
         [&] { return voiceMenu(main); }},
        {103, QStringLiteral("Schaltmodus einstellen"),
         QStringLiteral("Unter „Einstellungen“ wählen Sie den Schaltmodus: „Manuell schalten“ oder "
                        "„Automatisch“. Unter „Automatisch“ wählen Sie entweder eine vorgegebene "
                        "Zeit (rote Markierung) oder stellen mit „Manuell einstellen“ eine eigene "
                        "Zeit ein (blaue Markierung)."),
         [&] { return automaticMenu(main); }},
        {104, QStringLiteral("Zeitintervall einstellen"),
         QStringLiteral("In diesem Fenster stellen Sie Ihr eigenes Zeitintervall ein, indem Sie den "
                        "Schieberegler verschieben (blaue Markierung); der aktuelle Wert wird dabei "
                        "angezeigt (rote Markierung). Mit „Wert übernehmen“ gilt der Wert als neue "
                        "Einstellung bis zur nächsten Änderung."),
         [&] { return intervalDialog(); }},
        {105, QStringLiteral("Zahlengenerator"),
         QStringLiteral("Unter „Einstellungen“ wählen Sie den Zahlenbereich des Spiels: 75 oder 90 "
                        "Zahlen (rote Markierung). Die Zahlen werden von einem Zufallsgenerator "
                        "gezogen und dann angesagt. Jede Änderung während eines Spiels beendet es "
                        "sofort und startet ein neues Spiel."),
         [&] { return rangeMenu(main); }},
        {107, QStringLiteral("Kontrollblatt"),
         QStringLiteral("Das Kontrollblatt, das Sie während eines Spiels aufrufen können, zeigt alle "
                        "schon gezeigten Zahlen grün (rote Markierung) und alle noch kommenden "
                        "Zahlen rot (blaue Markierung). So prüfen Sie, ob eine Zahl überhört oder "
                        "übersehen wurde."),
         [&] { return checkSheet(services); }},
        {108, QStringLiteral("Spielscheine drucken"),
         QStringLiteral("Unter „Datei“, „Spielschein drucken“ öffnet sich ein Fenster, in dem Sie den "
                        "Zahlenmodus (rote Markierung) und das Aussehen der Spielscheine (blaue "
                        "Markierung) einstellen. Danach drucken Sie beliebig viele Spielscheine; "
                        "das kann eine Weile dauern, da jeder Spielschein neu erzeugt wird."),
         [&] { return printDialog(services); }},
        {110, QStringLiteral("Spielschein prüfen"),
         QStringLiteral("Unter „Datei“, „Spielschein prüfen“ (Strg und P) tippen Sie die Prüfnummer "
                        "eines Spielscheins ein (rote Markierung) und drücken die Eingabetaste. Das "
                        "Fenster zeigt den Schein mit den gezogenen Zahlen grün und sagt je Block, "
                        "welche Reihen voll sind (blaue Markierung). Bei „Bingo!“ kommt es nach vorn."),
         [&] { return checkWindow(services); }},
        {109, QStringLiteral("Kontaktmöglichkeiten"),
         QStringLiteral("Anregungen, Änderungswünsche und Kritik sind uns jederzeit willkommen. Auf "
                        "unserer Internetseite finden Sie Aktualisierungen des Programmes. Probleme "
                        "melden Sie uns bitte per E-Mail mit einer kurzen Beschreibung sowie dem "
                        "Namen und der Version des Programmes (%1).")
             .arg(appinfo::productWithVersion()),
         {}},
    };
}

// Writes every page's picture; how many, or -1 when one cannot be written.
int writePages(const QList<Page> &pages, const QString &out)
{
    const QString web = appinfo::webAddress();
    const QString mail = appinfo::mailAddress();
    int written = 0;
    for (const Page &page : pages) {
        const Cut cut = page.cut ? page.cut() : Cut{};
        std::function<void(QPainter &, QRect)> extra;
        if (page.id == 109) {
            extra = [&](QPainter &p, QRect free) {
                p.setPen(Qt::black);
                p.setFont(serif(26, true, true));
                const QString lines = QStringLiteral("Internet:\n%1\n\nE-Mail:\n%2").arg(web, mail);
                p.drawText(free, Qt::AlignCenter, lines);
            };
        }
        if (!save(compose(page.heading, page.text, cut, extra), out, page.id))
            return -1;
        ++written;
    }
    return written;
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir tmp;
    if (!useFixedScreen(tmp))
        return 1;
    QApplication app(argc, argv);
    configureApplication(app);
    QApplication::setStyle(QStringLiteral("Fusion"));

    if (argc != 2) {
        std::fprintf(stderr, "usage: kugelfon-helppictures OUTPUT-FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(out)) {
        std::fprintf(stderr, "help-pictures: cannot create %s\n", argv[1]);
        return 1;
    }

    QtTimerFactory timers;
    NoMessages messages;
    QtScreenMetrics screen;
    NoSound sound;
    ClockRandom random;
    NoResources resources;
    NoApplication application;
    OnePrinter printers;
    NoSystemInfo sysinfo;
    QtScreenList screens;
    const Services services{.timers = timers, .messages = messages, .screen = screen, .sound = sound,
                            .random = random, .resources = resources, .app = application,
                            .printers = printers, .sysinfo = sysinfo, .screens = screens};

    Caller caller(services);
    CheckSheet sheet(caller);
    MainWindow main(caller, sheet, services);
    if (!main.startUp()) {
        std::fprintf(stderr, "help-pictures: the main window refused the screen\n");
        return 1;
    }
    main.resize(800, 600);
    main.show();
    settle();

    const QList<Page> pages = helpPages(main, services);

    const int written = writePages(pages, out);
    if (written < 0)
        return 1;
    QTextStream(stdout) << "help-pictures: wrote " << written << " pictures to " << out << '\n';
    return 0;
}
