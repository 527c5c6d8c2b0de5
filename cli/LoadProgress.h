#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "JobProgress.h"

// Progress of a load on a terminal: one bar redrawn in place; elsewhere, a plain line for every
// tenth of the way, so logs stay short.
class CLoadProgress final : public IJobProgress {
public:
    explicit CLoadProgress(std::FILE* out);
    void Start(std::string title, std::size_t total) override;
    void Show(std::size_t done) override;
    void Retitle(std::string title) override;
    void Finish() override;

private:
    void Draw();

    std::FILE* m_out;
    std::string m_title;
    std::size_t m_total = 1;
    std::size_t m_done = 0;
    int m_lastTenth = -1;
    bool m_terminal;
};
