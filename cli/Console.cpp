#include "Console.h"

#include <iostream>
#include <utility>

namespace {

thread_local std::ostream* t_out = nullptr;
thread_local std::ostream* t_err = nullptr;

}  // namespace

std::ostream& Out() {
    return t_out != nullptr ? *t_out : std::cout;
}

std::ostream& Err() {
    return t_err != nullptr ? *t_err : std::cerr;
}

CConsoleCapture::CConsoleCapture()
    : m_previousOut(std::exchange(t_out, &m_out)), m_previousErr(std::exchange(t_err, &m_err)) {}

CConsoleCapture::~CConsoleCapture() {
    t_out = m_previousOut;
    t_err = m_previousErr;
}
