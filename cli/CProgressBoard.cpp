#include "CProgressBoard.h"

#include <algorithm>
#include <utility>

#include "Terminal.h"

namespace {

constexpr std::size_t kBarWidth = 30;
// A terminal is redrawn at most this often; a result is always shown at once.
constexpr std::chrono::milliseconds kRedrawInterval{100};

}  // namespace

class CProgressBoard::CRow final : public IJobProgress {
public:
    CRow(CProgressBoard& board, std::size_t index) : m_board(board), m_index(index) {}

    void Start(std::string title, std::size_t total) override {
        Update([&](RowState& row) {
            row.title = std::move(title);
            row.total = total;
            row.done = 0;
            row.lastTenth = 0;
            return true;
        });
    }
    void Show(std::size_t done) override {
        Update([&](RowState& row) {
            row.done = std::min(done, row.total);
            const int tenth = row.total == 0 ? 10 : static_cast<int>(row.done * 10 / row.total);
            return std::exchange(row.lastTenth, tenth) != tenth;
        });
    }
    void Retitle(std::string title) override {
        // On a terminal only: a log needs no line for every step of a search.
        Update([&](RowState& row) {
            row.title = std::move(title);
            return false;
        });
    }
    void Finish() override {}

private:
    template <typename Change>
    void Update(Change change) {
        bool worthALine = false;
        {
            std::lock_guard lock(m_board.m_mutex);
            worthALine = change(m_board.m_rows[m_index]);
        }
        m_board.Changed(m_index, worthALine);
    }

    CProgressBoard& m_board;
    std::size_t m_index;
};

CProgressBoard::CProgressBoard(std::FILE* out, const std::vector<std::string>& ports)
    : m_out(out), m_terminal(IsTerminal(out)) {
    for (std::size_t i = 0; i < ports.size(); ++i) {
        RowState row;
        row.port = ports[i];
        m_rows.push_back(row);
        m_views.push_back(std::make_unique<CRow>(*this, i));
        m_portWidth = std::max(m_portWidth, ports[i].size());
    }
    if (m_terminal) {
        std::lock_guard lock(m_mutex);
        Redraw();
    }
}

CProgressBoard::~CProgressBoard() = default;

IJobProgress& CProgressBoard::Row(std::size_t index) {
    return *m_views.at(index);
}

void CProgressBoard::Done(std::size_t index, const std::string& result) {
    {
        std::lock_guard lock(m_mutex);
        m_rows.at(index).result = result;
    }
    Changed(index, true);
}

void CProgressBoard::Changed(std::size_t index, bool worthALine) {
    std::lock_guard lock(m_mutex);
    if (!m_terminal) {
        if (worthALine) {
            std::fprintf(m_out, "%s\n", RowText(m_rows[index]).c_str());
            std::fflush(m_out);
        }
        return;
    }
    const bool final = !m_rows[index].result.empty();
    if (final || std::chrono::steady_clock::now() - m_lastDraw >= kRedrawInterval) {
        Redraw();
    }
}

std::string CProgressBoard::RowText(const RowState& row) const {
    std::string text = row.port + std::string(m_portWidth - row.port.size() + 2, ' ');
    if (!row.result.empty()) {
        return text + row.result;
    }
    text += row.title;
    if (row.total == 0) {
        return text;
    }
    const int percent = static_cast<int>(row.done * 100 / row.total);
    if (!m_terminal) {
        return text + " " + std::to_string(percent) + "%";
    }
    const std::size_t filled = row.done * kBarWidth / row.total;
    return text + " [" + std::string(filled, '#') + std::string(kBarWidth - filled, '.') + "] " +
           std::to_string(percent) + "%";
}

// Back to the first line, then every line rewritten and cleared to its end.
void CProgressBoard::Redraw() {
    if (m_drawn) {
        std::fprintf(m_out, "\x1b[%zuA", m_rows.size());
    }
    for (const RowState& row : m_rows) {
        std::fprintf(m_out, "\r%s\x1b[K\n", RowText(row).c_str());
    }
    std::fflush(m_out);
    m_drawn = true;
    m_lastDraw = std::chrono::steady_clock::now();
}
