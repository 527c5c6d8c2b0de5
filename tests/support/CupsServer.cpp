#include "CupsServer.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <utility>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* kCupsd = "/usr/sbin/cupsd";

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

}  // namespace

CommandResult RunCommand(const std::string& commandLine) {
    const std::string command = commandLine + " 2>&1";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return {};
    }
    CommandResult result;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        result.output += buffer;
    }
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

CupsServer::CupsServer() {
    std::string pattern = (fs::temp_directory_path() / "tq20-cups-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) {
        m_folder = pattern;
        // Other users reach the socket and their own state folder (the permission test).
        ::chmod(m_folder.c_str(), 0755);
    }
}

CupsServer::~CupsServer() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
    }
    std::error_code error;
    fs::remove_all(m_folder, error);
}

fs::path CupsServer::JournalFolder() const {
    return m_folder / "state" / "tq20" / "held-queues";
}

bool CupsServer::WriteConfiguration() {
    for (const char* sub : {"conf", "spool", "cache", "log", "cupsstate", "state"}) {
        fs::create_directories(m_folder / sub);
    }
    ::chmod((m_folder / "state").c_str(), 01777);
    const std::string root = m_folder.string();
    std::ofstream conf(m_folder / "conf" / "cupsd.conf");
    conf << "Listen " << root << "/cups.sock\n"
         << "LogLevel warn\nWebInterface No\nBrowsing No\n"
         << "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
         << "<Policy default>\n"
         << "  <Limit Pause-Printer Resume-Printer CUPS-Add-Modify-Printer CUPS-Delete-Printer>\n"
         << "    AuthType Default\n    Require user @SYSTEM\n    Order deny,allow\n"
         << "  </Limit>\n"
         << "  <Limit All>\n    Order deny,allow\n  </Limit>\n"
         << "</Policy>\n";
    std::ofstream files(m_folder / "conf" / "cups-files.conf");
    files << "ServerRoot " << root << "/conf\n"
          << "RequestRoot " << root << "/spool\n"
          << "TempDir " << root << "/spool\n"
          << "CacheDir " << root << "/cache\n"
          << "StateDir " << root << "/cupsstate\n"
          << "ErrorLog " << root << "/log/error_log\n"
          << "AccessLog " << root << "/log/access_log\n"
          << "PageLog " << root << "/log/page_log\n"
          << "Printcap " << root << "/printcap\n"
          << "SystemGroup root\n";
    return conf.good() && files.good();
}

bool CupsServer::Answers() {
    return RunCommand("lpstat -r").output.find("is running") != std::string::npos;
}

bool CupsServer::Start() {
    if (m_folder.empty() || ::access(kCupsd, X_OK) != 0) {
        m_error = "cupsd is not installed (package cups-daemon)";
        return false;
    }
    if (!WriteConfiguration()) {
        m_error = "cannot write the scheduler's configuration in " + m_folder.string();
        return false;
    }
    ::setenv("CUPS_SERVER", (m_folder / "cups.sock").c_str(), 1);
    ::setenv("XDG_STATE_HOME", (m_folder / "state").c_str(), 1);
    const std::string conf = (m_folder / "conf" / "cupsd.conf").string();
    const std::string files = (m_folder / "conf" / "cups-files.conf").string();
    m_pid = ::fork();
    if (m_pid == 0) {
        ::execl(kCupsd, kCupsd, "-f", "-c", conf.c_str(), "-s", files.c_str(), nullptr);
        ::_exit(127);
    }
    for (int i = 0; i < 100; ++i) {
        if (Answers()) {
            return true;
        }
        if (::waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
            m_pid = -1;
            break;
        }
        std::this_thread::sleep_for(100ms);
    }
    m_error = "cupsd did not start; see " + (m_folder / "log" / "error_log").string();
    return false;
}

bool CupsServer::AddQueue(const std::string& name, const std::string& deviceUri) {
    return RunCommand("lpadmin -p " + name + " -v " + Quoted(deviceUri) + " -E").exitCode == 0;
}

bool CupsServer::AddSerialQueue(const std::string& name, const std::string& device) {
    return AddQueue(name, "serial:" + device + "?baud=115200");
}

bool CupsServer::Submit(const std::string& queue, const std::string& text) {
    return RunCommand("printf %s " + Quoted(text) + " | lp -d " + queue).exitCode == 0;
}

bool CupsServer::Disable(const std::string& queue) {
    return RunCommand("cupsdisable " + queue).exitCode == 0;
}

std::string CupsServer::State(const std::string& queue) {
    const std::string out = RunCommand("lpstat -p " + queue).output;
    const std::pair<const char*, const char*> states[] = {
        {" disabled since", "disabled"}, {" is idle", "idle"}, {" now printing", "printing"}};
    for (const auto& [phrase, state] : states) {
        if (out.find(phrase) != std::string::npos) {
            return state;
        }
    }
    return {};
}

bool CupsServer::WaitForState(const std::string& queue, const std::string& state, int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 50) {
        if (State(queue) == state) {
            return true;
        }
        std::this_thread::sleep_for(50ms);
    }
    return State(queue) == state;
}

int CupsServer::PendingJobs(const std::string& queue) {
    const std::string out = RunCommand("lpstat -o " + queue).output;
    int jobs = 0;
    for (std::size_t at = out.find(queue + "-"); at != std::string::npos;
         at = out.find(queue + "-", at + 1)) {
        ++jobs;
    }
    return jobs;
}
