#pragma once

#include <memory>

#include "CPage.h"
#include "OptionsStore.h"

namespace Ui {
class CPrinterOptionsDlg;
}

// The FEED button and automatic status switches, and the two restore actions, which the main
// window carries out.
class CPrinterOptionsDlg final : public CPage {
    Q_OBJECT

public:
    CPrinterOptionsDlg(IPageHost& host, QWidget* parent);
    ~CPrinterOptionsDlg() override;

    int Id() const override { return kPageOptions; }
    int SaveGroup() const override { return 0; }
    int Store(PrinterSettings& settings) override;
    OptionsValues Values() const;
    void SetRestoreButtonsEnabled(bool enabled);

signals:
    void RestoreFactory();
    void RestoreSaved();

protected:
    void Refresh(const PrinterSettings& settings) override;

private:
    std::unique_ptr<Ui::CPrinterOptionsDlg> m_ui;
};
