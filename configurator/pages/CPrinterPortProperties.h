#pragma once

#include <memory>

#include "CPage.h"
#include "PortStore.h"

namespace Ui {
class CPrinterPortProperties;
}

// The printer's own serial port: speed and flow control. Saving a change makes the main
// window reconnect at the new settings.
class CPrinterPortProperties final : public CPage {
    Q_OBJECT

public:
    CPrinterPortProperties(IPageHost& host, QWidget* parent);
    ~CPrinterPortProperties() override;

    int Id() const override { return kPagePort; }
    int SaveGroup() const override { return 5; }
    int Store(PrinterSettings& settings) override;
    PortValues Values() const;
    void SetValues(const PortValues& values);

protected:
    void Refresh(const PrinterSettings& settings) override;

private:
    std::unique_ptr<Ui::CPrinterPortProperties> m_ui;
};
