#pragma once

#include <QGroupBox>
#include <QImage>
#include <cstdint>
#include <vector>

#include "PrinterSettings.h"

class QLabel;
class QScrollArea;

// The test receipt as the printer would print it with a record, drawn as wide as the preview
// is, at the screen's own pixels so that it stays sharp at any scale; the paper scrolls.
class CReceiptPreview final : public QGroupBox {
    Q_OBJECT

public:
    explicit CReceiptPreview(QWidget* parent);

    void Show(const PrinterSettings& record);
    // Scrolls the paper to where the receipt first uses the command (the font modes, the
    // barcode), so that what a page changes is in sight; the top for a command it lacks.
    void ScrollToCommand(int commandId);
    // What is drawn: the record and the whole receipt, one pixel a dot with the paper's margins.
    const PrinterSettings& Record() const { return m_record; }
    const QImage& Receipt() const { return m_receipt; }
    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FitToWidth();
    void ScrollToRow(int row);

    QScrollArea* m_scroll;
    QLabel* m_paper;
    PrinterSettings m_record{};
    QImage m_receipt;
    std::vector<std::uint8_t> m_bytes;
    int m_commandShown = -1;
};
