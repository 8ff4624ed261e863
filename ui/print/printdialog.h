#pragma once

#include "ui/kit/fixedwindow.h"
#include "platform/services.h"
#include "tickets/ticketnumbers.h"
#include "tickets/ticketprinting.h"

#include <QPushButton>
#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
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

    void fillColumnsList();
    void fillRowsList();
    void fillBlocksList();
    void repaintOptions();
    // The printer combo left: a listed name typed or picked becomes the
    // printer, anything else gives way to the printer that prints.
    void onPrinterEdited();
    void onPrintClicked();
    void onCancelClicked();

    // The check of the current values against the limits; the German message
    // that refuses them, or nothing when they may be printed.
    std::optional<QString> refusal(PrintSettings &settings) const;
    // The confirmation text for the current values.
    QString summaryText() const;

    // Numbers of the last ticket built by a print run.
    const TicketNumbers &lastTicket() const { return *m_ticket; }
    // Tickets the last print run handed to the printer.
    int lastRunPrinted() const { return m_lastRunPrinted; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void findControls();
    void setupConnections();
    void showStartValues();
    void showPrinter(const QString &name);
    void showPrinters();
    void askPrinters();
    void buildList(QComboBox *list, const QComboBox *neighbour, int first, int cap, int &bound);
    std::optional<QString> countRefusal(PrintSettings &settings) const;
    std::optional<QString> printerRefusal(PrintSettings &settings) const;
    void reportRun(const PrintRunResult &run, const PrintSettings &settings);
    void choosePool(int pool);
    void refuse(const QString &text);
    void showMainOnce();
    PrintRunResult printWithProgress(const PrintSettings &settings);

    Services m_services;
    std::function<void()> m_showMainWindow;
    bool m_mainShown = false;

    int m_poolSize = 75;
    int m_maxColumns = 0;
    int m_maxRows = 0;
    bool m_freeCellChosen = false;
    bool m_printerPicked = false; // kept when the print server answers again
    QString m_shownPrinter;
    std::unique_ptr<TicketNumbers> m_ticket;
    int m_lastRunPrinted = 0;
    bool m_printing = false;
    bool m_cancelRequested = false;

    QGroupBox *m_optionsFrame = nullptr;
    QGroupBox *m_gridFrame = nullptr;
    QRadioButton *m_pool75 = nullptr;
    QRadioButton *m_pool90 = nullptr;
    QRadioButton *m_noFreeCell = nullptr;
    QRadioButton *m_freeCell = nullptr;
    QCheckBox *m_checkNumberBox = nullptr;
    QComboBox *m_columnsBox = nullptr;
    QComboBox *m_rowsBox = nullptr;
    QComboBox *m_blocksBox = nullptr;
    QComboBox *m_ticketsBox = nullptr;
    QComboBox *m_printerBox = nullptr;
    FocusFirstButton *m_printButton = nullptr;
    FocusFirstButton *m_cancelButton = nullptr;
};

} // namespace kugelfon
