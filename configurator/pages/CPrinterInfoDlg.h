#pragma once

#include <memory>
#include <string>

#include "CPage.h"

namespace Ui {
class CPrinterInfoDlg;
}

// The printer's service information and state, as lines of text; the main window runs the
// chain of requests and hands each piece of text to the page.
class CPrinterInfoDlg final : public CPage {
    Q_OBJECT

public:
    CPrinterInfoDlg(IPageHost& host, QWidget* parent);
    ~CPrinterInfoDlg() override;

    int Id() const override { return kPageInfo; }
    void SetText(const std::string& text);
    void Append(const std::string& text);
    std::string Text() const;
    // A query that failed before its first answer leaves nothing behind.
    void ClearIfSingleLine();

protected:
    void Refresh(const PrinterSettings& settings) override;

private:
    std::unique_ptr<Ui::CPrinterInfoDlg> m_ui;
};
