#pragma once

#include <memory>

#include "BarcodeStore.h"
#include "CPage.h"

namespace Ui {
class CBarcodePropertiesDlg;
}

// Barcode height, element width, white field, indent and readable characters.
class CBarcodePropertiesDlg final : public CPage {
    Q_OBJECT

public:
    CBarcodePropertiesDlg(IPageHost& host, QWidget* parent);
    ~CBarcodePropertiesDlg() override;

    int Id() const override { return kPageBarcode; }
    int SaveGroup() const override { return 4; }
    int Store(PrinterSettings& settings) override;
    CNumberField* FirstRefusedField() const override;
    BarcodeValues Values() const;

protected:
    void Refresh(const PrinterSettings& settings) override;

private:
    std::unique_ptr<Ui::CBarcodePropertiesDlg> m_ui;
};
