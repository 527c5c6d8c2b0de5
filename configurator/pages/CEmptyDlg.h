#pragma once

#include <memory>

#include "CPage.h"

namespace Ui {
class CEmptyDlg;
}

// Stands in for every page that needs a printer while there is no connection.
class CEmptyDlg final : public CPage {
    Q_OBJECT

public:
    CEmptyDlg(IPageHost& host, QWidget* parent);
    ~CEmptyDlg() override;
    int Id() const override { return kPageEmpty; }

private:
    std::unique_ptr<Ui::CEmptyDlg> m_ui;
};
