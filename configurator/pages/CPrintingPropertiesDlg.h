#pragma once

#include <memory>

#include "CPage.h"
#include "PrintingStore.h"

namespace Ui {
class CPrintingPropertiesDlg;
}

// Print contrast, print speed and the number of dots burned at once.
class CPrintingPropertiesDlg final : public CPage {
    Q_OBJECT

public:
    CPrintingPropertiesDlg(IPageHost& host, QWidget* parent);
    ~CPrintingPropertiesDlg() override;

    int Id() const override { return kPagePrinting; }
    int SaveGroup() const override { return 1; }
    int Store(PrinterSettings& settings) override;
    std::vector<FlowCharacterChange> FlowChanges() const override;
    PrintingValues Values() const;

protected:
    void Refresh(const PrinterSettings& settings) override;

private:
    std::unique_ptr<Ui::CPrintingPropertiesDlg> m_ui;
};
