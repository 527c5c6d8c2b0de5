#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <vector>

class CMiniPrinter;

// Sends a receipt from the window's thread without holding it up: a piece at a time, each as
// long as about 50 ms of the line, so that at 1200 bit/s the window still answers and a
// disconnect ends the print.
class CTestPrintFeeder final : public QObject {
    Q_OBJECT

public:
    // The printer is asked for at every piece: the line may have closed meanwhile.
    using PrinterOf = std::function<CMiniPrinter*()>;

    explicit CTestPrintFeeder(PrinterOf printer, QObject* parent = nullptr);

    void Start(std::vector<std::uint8_t> bytes, unsigned baudRate);
    bool Running() const { return m_timer.isActive(); }

signals:
    // sent: every byte left for the printer.
    void Finished(bool sent);

private:
    void SendPiece();

    PrinterOf m_printer;
    QTimer m_timer;
    std::vector<std::uint8_t> m_bytes;
    std::size_t m_sent = 0;
    std::size_t m_piece = 1;
};
