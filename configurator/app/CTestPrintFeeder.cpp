#include "CTestPrintFeeder.h"

#include <algorithm>
#include <span>

#include "CMiniPrinter.h"
#include "SerialSpeed.h"

namespace {

constexpr std::chrono::milliseconds kPieceTime{50};

}  // namespace

CTestPrintFeeder::CTestPrintFeeder(PrinterOf printer, QObject* parent)
    : QObject(parent), m_printer(std::move(printer)) {
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &CTestPrintFeeder::SendPiece);
}

void CTestPrintFeeder::Start(std::vector<std::uint8_t> bytes, unsigned baudRate) {
    m_bytes = std::move(bytes);
    m_sent = 0;
    m_piece = BytesInWireTime(kPieceTime, baudRate);
    m_timer.start();
}

void CTestPrintFeeder::SendPiece() {
    CMiniPrinter* printer = m_printer();
    const std::size_t length = std::min(m_piece, m_bytes.size() - m_sent);
    const bool sent = printer != nullptr && printer->IsConnected() &&
                      printer->SendPrintData(std::span(m_bytes).subspan(m_sent, length));
    m_sent += length;
    if (!sent || m_sent == m_bytes.size()) {
        m_timer.stop();
        emit Finished(sent);
    }
}
