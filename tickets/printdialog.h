#pragma once

#include "platform/fixedwindow.h"
#include "platform/services.h"
#include "tickets/ticketnumbers.h"
#include "tickets/ticketprinting.h"

#include <QPushButton>
#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QGroupBox;
class QLabel;
class QRadioButton;

namespace kugelfon {

// A button whose access key moves the focus to it before it acts, as a
// mouse click does, so the focus-loss rules of the control left run first.
class FocusFirstButton final : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;
    // The cancel key: focus first, then click.
    void focusAndClick();

protected:
    bool event(QEvent *e) override;
};

// frmDrucken: layout and count of the tickets, the printer, and the print run.
// A top-level window, deleted when closed; showMainWindow runs on closing.
class PrintDialog final : public FixedWindow {
    Q_OBJECT
public:
    PrintDialog(const Services &services, std::function<void()> showMainWindow);
    ~PrintDialog() override;

    void BuildColumnsList();
    void BuildRowsList();
    void BuildBlocksList();
    void RepaintOptions();
    void cboDrucker_LostFocus();
    void cmdDruck_Click();
    void cmdAbbrechen_Click();

    // The check of the current values against the limits; the German message
    // that refuses them, or nothing when they may be printed.
    std::optional<QString> refusal(PrintSettings &settings) const;
    // The confirmation text for the current values.
    QString summaryText() const;

    int Zahlenmenge() const { return m_zahlenmenge; }
    bool Zufall() const { return m_zufall; }
    // Numbers of the last ticket built by a print run.
    const TicketNumbers &lastTicket() const { return *m_ticket; }
    // Tickets the last print run handed to the printer.
    int lastRunPrinted() const { return m_lastRunPrinted; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void setupControls();
    void buildList(QComboBox *list, const QComboBox *neighbour, int first, int cap, int &bound);
    void setupConnections();
    void Form_Load();
    void choosePool(int pool);
    void refuse(const QString &text);
    void showMainOnce();
    PrintRunResult printWithProgress(const PrintSettings &settings);

    Services m_services;
    std::function<void()> m_showMainWindow;
    bool m_mainShown = false;

    int m_zahlenmenge = 75;
    int m_maxZahlSpalten = 0;
    int m_maxZahlReihen = 0;
    bool m_zufall = false;
    std::unique_ptr<TicketNumbers> m_ticket;
    int m_lastRunPrinted = 0;
    bool m_printing = false;
    bool m_cancelRequested = false;

    QGroupBox *m_fraOptionswerte = nullptr;
    QGroupBox *m_fraSpielfeld = nullptr;
    QRadioButton *m_opt75 = nullptr;
    QRadioButton *m_opt90 = nullptr;
    QRadioButton *m_optNoFrei = nullptr;
    QRadioButton *m_optFrei = nullptr;
    QComboBox *m_cboSpalten = nullptr;
    QComboBox *m_cboReihen = nullptr;
    QComboBox *m_cboBloecke = nullptr;
    QComboBox *m_cboScheine = nullptr;
    QComboBox *m_cboDrucker = nullptr;
    FocusFirstButton *m_cmdDruck = nullptr;
    FocusFirstButton *m_cmdAbbrechen = nullptr;
};

} // namespace kugelfon
