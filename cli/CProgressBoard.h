#pragma once

#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "JobProgress.h"

// One line per port while several ports work at once. On a terminal the lines are redrawn in
// place; elsewhere (a log, a pipe) each change worth telling becomes a plain line of its own:
// a new title, every tenth of the way, the result.
class CProgressBoard {
public:
    CProgressBoard(std::FILE* out, const std::vector<std::string>& ports);
    CProgressBoard(const CProgressBoard&) = delete;
    CProgressBoard& operator=(const CProgressBoard&) = delete;
    ~CProgressBoard();

    // The progress of one port, for the thread that works on it.
    IJobProgress& Row(std::size_t index);
    // The port's last word, shown in place of its progress.
    void Done(std::size_t index, const std::string& result);

private:
    class CRow;
    struct RowState {
        std::string port;
        std::string title = "working";
        std::size_t done = 0;
        std::size_t total = 0;  // 0: no measure of the way, only the title
        int lastTenth = -1;
        std::string result;
    };

    void Changed(std::size_t index, bool worthALine);
    std::string RowText(const RowState& row) const;
    void Redraw();

    std::FILE* m_out;
    bool m_terminal;
    std::mutex m_mutex;
    std::vector<RowState> m_rows;
    std::vector<std::unique_ptr<CRow>> m_views;
    std::size_t m_portWidth = 0;
    bool m_drawn = false;
    std::chrono::steady_clock::time_point m_lastDraw{};
};
