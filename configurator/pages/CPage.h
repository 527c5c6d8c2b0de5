#pragma once

#include <QWidget>
#include <optional>

#include "CNumberField.h"
#include "FlowCharacters.h"
#include "PageHost.h"

// Dialog ids of the pages; also their identity in the main window.
enum PageId : int {
    kPageConnection = 129,
    kPagePrinting = 132,
    kPageFont = 133,
    kPageBarcode = 134,
    kPageOptions = 135,
    kPageInfo = 136,
    kPageEmpty = 137,
    kPageTextPosition = 138,
    kPagePort = 139,
};

// One page in the main window's page area. It holds no settings of its own: every time it is
// shown it fills its controls from the main window's record, and at a save it turns its
// controls back into record bytes. Enter and Escape inside a page do nothing.
class CPage : public QWidget {
    Q_OBJECT

public:
    CPage(IPageHost& host, QWidget* parent);

    virtual int Id() const = 0;
    // The option group the page is saved as; -1 for pages that save nothing.
    virtual int SaveGroup() const { return -1; }
    // Moves the controls' values into the record and returns the mask of changed values.
    virtual int Store(PrinterSettings&) { return 0; }
    // The values Store moves off the flow-control characters by the page's own rule.
    virtual std::vector<FlowCharacterChange> FlowChanges() const { return {}; }
    // Shows the main window's record again, dropping what was typed.
    void Reload();
    // Whether the controls hold values the page did not show from the record: what a save
    // would write differs from what it would have written right after the page was filled.
    bool HasEdits();
    // The first number field, in the page's order, whose text its setting cannot take; null
    // when the page may be saved.
    virtual CNumberField* FirstRefusedField() const { return nullptr; }
    // From now on every change of a list, check box, text field or slider on the page is
    // announced, by the user or by a refill.
    void WatchControls();

signals:
    void Edited();

protected:
    virtual void Refresh(const PrinterSettings&) {}
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    IPageHost& m_host;

private:
    // The record the page was filled from, and what the page stored from it then.
    std::optional<PrinterSettings> m_filledFrom;
    std::optional<PrinterSettings> m_filledAs;
};
