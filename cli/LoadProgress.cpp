#include "LoadProgress.h"

#include <algorithm>

#include "Terminal.h"

namespace {

constexpr std::size_t kBarWidth = 40;

}  // namespace

CLoadProgress::CLoadProgress(std::FILE* out) : m_out(out), m_terminal(IsTerminal(out)) {}

void CLoadProgress::Start(std::string title, std::size_t total) {
    m_title = std::move(title);
    m_total = std::max<std::size_t>(1, total);
    m_done = 0;
    m_lastTenth = -1;
    Draw();
}

void CLoadProgress::Show(std::size_t done) {
    m_done = std::min(done, m_total);
    Draw();
}

void CLoadProgress::Retitle(std::string title) {
    m_title = std::move(title);
    if (m_terminal) {
        Draw();
    }
}

void CLoadProgress::Finish() {
    if (m_terminal) {
        std::fputc('\n', m_out);
    }
    std::fflush(m_out);
}

void CLoadProgress::Draw() {
    const int percent = static_cast<int>(m_done * 100 / m_total);
    if (m_terminal) {
        const auto filled = static_cast<std::size_t>(m_done * kBarWidth / m_total);
        std::fprintf(m_out, "\r%s [%s%s] %3d%%\x1b[K", m_title.c_str(),
                     std::string(filled, '#').c_str(), std::string(kBarWidth - filled, '.').c_str(),
                     percent);
        std::fflush(m_out);
        return;
    }
    const int tenth = percent / 10;
    if (tenth == m_lastTenth) {
        return;
    }
    // A busy machine can let the load pass several tenths between two looks: each one passed
    // still gets its line, so a log always has all of them.
    for (int passed = m_lastTenth + 1; passed < tenth; ++passed) {
        std::fprintf(m_out, "%s %d%%\n", m_title.c_str(), passed * 10);
    }
    m_lastTenth = tenth;
    std::fprintf(m_out, "%s %d%%\n", m_title.c_str(), percent);
    std::fflush(m_out);
}
