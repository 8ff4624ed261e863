#pragma once

#include "fakes/fakeprinters.h"
#include "fakes/fakes.h"
#include "tickets/printdialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace kugelfon::test {

// A print dialog on fake services, shown and active, as the menu opens it.
struct DialogHarness {
    FakeServices fakes;
    FakePrinters printers{{QStringLiteral("Büro"), QStringLiteral("Keller Laser")},
                          QStringLiteral("Keller Laser")};
    QPointer<PrintDialog> dialog;
    int mainShown = 0;

    DialogHarness() = default;
    ~DialogHarness()
    {
        if (dialog)
            delete dialog.data();
    }

    bool open()
    {
        Services s = fakes.services();
        s.printers = &printers;
        dialog = new PrintDialog(s, [this] { ++mainShown; });
        dialog->show();
        QApplication::setActiveWindow(dialog);
        return QTest::qWaitForWindowActive(dialog);
    }

    PrintDialog &d() { return *dialog; }
    QComboBox *combo(const char *name) const
    {
        return dialog->findChild<QComboBox *>(QString::fromUtf8(name));
    }
    QPushButton *button(const char *name) const
    {
        return dialog->findChild<QPushButton *>(QString::fromUtf8(name));
    }
    QRadioButton *option(const char *name) const
    {
        return dialog->findChild<QRadioButton *>(QString::fromUtf8(name));
    }

    static QStringList items(const QComboBox *c)
    {
        QStringList out;
        for (int i = 0; i < c->count(); ++i)
            out.append(c->itemText(i));
        return out;
    }

    // Clicks into the combo, replaces its text by typing, and stays there.
    void type(const char *name, const QString &text)
    {
        QComboBox *c = combo(name);
        QTest::mouseClick(c->lineEdit(), Qt::LeftButton);
        c->lineEdit()->selectAll();
        QTest::keyClick(c->lineEdit(), Qt::Key_Backspace);
        typeText(c->lineEdit(), text);
    }
    // keyClicks takes only ASCII; umlauts go in as key events with their text.
    static void typeText(QWidget *w, const QString &text)
    {
        for (const QChar ch : text) {
            if (ch.unicode() < 128) {
                QTest::keyClick(w, char(ch.unicode()));
            } else {
                QTest::sendKeyEvent(QTest::Press, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
                QTest::sendKeyEvent(QTest::Release, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
            }
        }
    }
    // Picks a list entry the way the list does, with the focus in the combo.
    void pick(const char *name, const QString &entry)
    {
        QComboBox *c = combo(name);
        c->setFocus(Qt::MouseFocusReason);
        c->setCurrentIndex(c->findText(entry));
    }
    // Moves the focus into another combo with the mouse.
    void clickInto(const char *name) { QTest::mouseClick(combo(name)->lineEdit(), Qt::LeftButton); }
    // Moves the focus on with the Tab key, running the focus rules.
    void tabAway() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }
    void clickPool(int pool)
    {
        QTest::mouseClick(option(pool == 90 ? "opt90Zahlen" : "opt75Zahlen"), Qt::LeftButton);
    }
    void clickDrucken() { QTest::mouseClick(button("cmdDruck"), Qt::LeftButton); }
};

} // namespace kugelfon::test
