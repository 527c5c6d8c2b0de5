#pragma once

#include <memory>

#include "CPage.h"
#include "FontStore.h"

namespace Ui {
class CFontPropertiesDlg;
}

// Default character height, width and style.
class CFontPropertiesDlg final : public CPage {
    Q_OBJECT

public:
    CFontPropertiesDlg(IPageHost& host, QWidget* parent);
    ~CFontPropertiesDlg() override;

    int Id() const override { return kPageFont; }
    int SaveGroup() const override { return 2; }
    int Store(PrinterSettings& settings) override;
    FontValues Values() const;

protected:
    void Refresh(const PrinterSettings& settings) override;

private:
    std::unique_ptr<Ui::CFontPropertiesDlg> m_ui;
};
