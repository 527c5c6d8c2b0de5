#pragma once

#include <ostream>
#include <sstream>
#include <string>

// Standard output and error of the calling thread: std::cout and std::cerr, unless a
// CConsoleCapture on this thread collects them (one port's run among several at once).
std::ostream& Out();
std::ostream& Err();

// While it lives, Out() and Err() of the thread that made it write into its own buffers.
class CConsoleCapture {
public:
    CConsoleCapture();
    CConsoleCapture(const CConsoleCapture&) = delete;
    CConsoleCapture& operator=(const CConsoleCapture&) = delete;
    ~CConsoleCapture();

    std::string OutText() const { return m_out.str(); }
    std::string ErrText() const { return m_err.str(); }

private:
    std::ostringstream m_out;
    std::ostringstream m_err;
    std::ostream* m_previousOut;
    std::ostream* m_previousErr;
};
