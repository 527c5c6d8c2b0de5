#pragma once

#include <memory>

#include "CPage.h"
#include "TextPositionStore.h"

namespace Ui {
class CTextPosPropertiesDlg;
}

// Alignment, left indent, print field width and tabulation.
class CTextPosPropertiesDlg final : public CPage {
    Q_OBJECT

public:
    CTextPosPropertiesDlg(IPageHost& host, QWidget* parent);
    ~CTextPosPropertiesDlg() override;

    int Id() const override { return kPageTextPosition; }
    int SaveGroup() const override { return 3; }
    int Store(PrinterSettings& settings) override;
    CNumberField* FirstRefusedField() const override;
    TextPositionValues Values() const;

protected:
    void Refresh(const PrinterSettings& settings) override;

private:
    std::unique_ptr<Ui::CTextPosPropertiesDlg> m_ui;
};
