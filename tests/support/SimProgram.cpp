#include "SimProgram.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

SimProgram::SimProgram(const std::string& program, const std::string& link,
                       std::vector<std::string> options)
    : m_link(link) {
    options.insert(options.begin(), {program, "--link", link});
    m_child = ::fork();
    if (m_child == 0) {
        std::vector<char*> argv;
        for (std::string& option : options) {
            argv.push_back(option.data());
        }
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
}

SimProgram::~SimProgram() {
    if (m_child > 0) {
        ::kill(m_child, SIGTERM);
        ::waitpid(m_child, nullptr, 0);
    }
}

bool SimProgram::WaitForLink() const {
    for (int i = 0; i < 1000; ++i) {
        std::error_code error;
        if (std::filesystem::read_symlink(m_link, error).string().rfind("/dev/pts/", 0) == 0) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}
