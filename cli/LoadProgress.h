#pragma once

#include <cstdio>
#include <string>

// Progress of a load on a terminal: one bar redrawn in place; elsewhere, a plain line for every
// tenth of the way, so logs stay short.
class CLoadProgress {
public:
    CLoadProgress(std::FILE* out, std::string title, int total);
    void Advance();
    void Retitle(std::string title);
    void Finish();

private:
    void Draw();

    std::FILE* m_out;
    std::string m_title;
    int m_total;
    int m_done = 0;
    int m_lastTenth = -1;
    bool m_terminal;
};
