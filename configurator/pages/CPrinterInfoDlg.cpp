#include "CPrinterInfoDlg.h"

#include "ConfiguratorStrings.h"
#include "ui_CPrinterInfoDlg.h"

CPrinterInfoDlg::CPrinterInfoDlg(IPageHost& host, QWidget* parent)
    : CPage(host, parent), m_ui(std::make_unique<Ui::CPrinterInfoDlg>()) {
    m_ui->setupUi(this);
    m_ui->groupBox->setTitle(ConfigString(IDS_SERVICE_INFO));
    // Room for the whole answer, name to state, at its usual length; longer lines wrap and a
    // longer answer scrolls.
    const QFontMetrics metrics(m_ui->infoText->font());
    m_ui->infoText->setMinimumSize(metrics.averageCharWidth() * 52, metrics.lineSpacing() * 14);
}

CPrinterInfoDlg::~CPrinterInfoDlg() = default;

// Earlier results do not survive a change of page.
void CPrinterInfoDlg::Refresh(const PrinterSettings&) {
    m_ui->infoText->clear();
}

void CPrinterInfoDlg::SetText(const std::string& text) {
    m_ui->infoText->setPlainText(QString::fromStdString(text));
}

// Appends with a cursor of its own, so the view stays where the reader is: at the top, unless
// they scrolled.
void CPrinterInfoDlg::Append(const std::string& text) {
    QTextCursor cursor(m_ui->infoText->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QString::fromStdString(text));
}

std::string CPrinterInfoDlg::Text() const {
    return m_ui->infoText->toPlainText().toStdString();
}

void CPrinterInfoDlg::ClearIfSingleLine() {
    if (m_ui->infoText->document()->blockCount() == 1) {
        m_ui->infoText->clear();
    }
}
