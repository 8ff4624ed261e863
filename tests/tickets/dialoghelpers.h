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

    ~DialogHarness() { delete dialog.data(); }

    bool open()
    {
        Services s = fakes.services();
        s.printers = &printers;
        dialog = new PrintDialog(s, [this] { ++mainShown; });
        dialog->show();
        QApplication::setActiveWindow(dialog);
        return QTest::qWaitForWindowActive(dialog);
    }

    QComboBox *combo(const char *name) const { return dialog->findChild<QComboBox *>(QString::fromUtf8(name)); }
    QPushButton *button(const char *name) const { return dialog->findChild<QPushButton *>(name); }
    QRadioButton *option(const char *name) const { return dialog->findChild<QRadioButton *>(name); }

    static QStringList items(const QComboBox *c)
    {
        QStringList out;
        for (int i = 0; i < c->count(); ++i)
            out.append(c->itemText(i));
        return out;
    }
    // A count list as "first-last", "-" when empty; "?" marks a gap.
    QString range(const char *name) const
    {
        const QStringList l = items(combo(name));
        if (l.isEmpty())
            return QStringLiteral("-");
        for (int i = 1; i < l.size(); ++i)
            if (l[i].toInt() != l[0].toInt() + i)
                return l.join(QLatin1Char(',')) + QLatin1Char('?');
        return l.first() + QLatin1Char('-') + l.last();
    }
    // The list and the text shown, e.g. "1-15:1".
    QString list(const char *name) const { return range(name) + QLatin1Char(':') + combo(name)->currentText(); }
    // Columns, rows, blocks and tickets.
    QString lists() const
    {
        return QStringList{list("cboSpalten"), list("cboReihen"), list("cboBlöcke"), list("cboScheine")}
            .join(QLatin1Char(' '));
    }

    // Clicks into the combo, replaces its text by typing, and stays there.
    void type(const char *name, const QString &text)
    {
        QLineEdit *edit = combo(name)->lineEdit();
        QTest::mouseClick(edit, Qt::LeftButton);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        // keyClicks takes only ASCII; umlauts go in as key events with their text.
        for (const QChar ch : text) {
            if (ch.unicode() < 128) {
                QTest::keyClick(edit, char(ch.unicode()));
            } else {
                QTest::sendKeyEvent(QTest::Press, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
                QTest::sendKeyEvent(QTest::Release, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
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
    void clickInto(const char *name) { QTest::mouseClick(combo(name)->lineEdit(), Qt::LeftButton); }
    // Moves the focus on with the Tab key, running the focus rules.
    void tabAway() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }
    void clickPool(int pool) { QTest::mouseClick(option(pool == 90 ? "opt90Zahlen" : "opt75Zahlen"), Qt::LeftButton); }
    void clickDrucken() { QTest::mouseClick(button("cmdDruck"), Qt::LeftButton); }
};

} // namespace kugelfon::test
