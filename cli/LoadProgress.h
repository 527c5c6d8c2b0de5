#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// Progress of a load on a terminal: one bar redrawn in place; elsewhere, a plain line for every
// tenth of the way, so logs stay short.
class CLoadProgress {
public:
    // total: the amount of work, any size; 0 counts as done.
    CLoadProgress(std::FILE* out, std::string title, std::size_t total);
    void Show(std::size_t done);
    void Retitle(std::string title);
    void Finish();

private:
    void Draw();

    std::FILE* m_out;
    std::string m_title;
    std::size_t m_total;
    std::size_t m_done = 0;
    int m_lastTenth = -1;
    bool m_terminal;
};
