#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class CAboutDlg;
}

// The configurator's about box.
class CAboutDlg final : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
    ~CAboutDlg() override;

private:
    std::unique_ptr<Ui::CAboutDlg> m_ui;
};
