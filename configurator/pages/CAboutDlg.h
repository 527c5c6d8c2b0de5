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

protected:
    // Enter closes the box as Escape does: it has no buttons to take it.
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::unique_ptr<Ui::CAboutDlg> m_ui;
};
