#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "CPrinterSim.h"

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

const Bytes kRead{0x12, 0x63, 0x4C, 0x63};

int ConnectTo(std::uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Up to count bytes within the limit; empty also when the peer closed.
Bytes Receive(int fd, std::size_t count, std::chrono::milliseconds limit, bool* closed = nullptr) {
    Bytes got;
    const auto until = std::chrono::steady_clock::now() + limit;
    while (got.size() < count && std::chrono::steady_clock::now() < until) {
        pollfd in{fd, POLLIN, 0};
        if (::poll(&in, 1, 50) <= 0) {
            continue;
        }
        std::uint8_t buffer[256];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) {
            if (closed != nullptr) {
                *closed = true;
            }
            break;
        }
        got.insert(got.end(), buffer, buffer + n);
    }
    return got;
}

// One host at a time, as on a serial line: a second connection waits its turn and the first
// one goes on talking; once the first leaves, the second is answered.
TEST(SimService, ASecondTcpClientWaitsItsTurnAndNeverCutsOffTheFirst) {
    CPrinterSim sim({.pty = false, .tcp = true});
    ASSERT_TRUE(sim.Start());
    const int first = ConnectTo(sim.TcpPort());
    ASSERT_GE(first, 0);
    ASSERT_EQ(::send(first, kRead.data(), kRead.size(), 0), 4);
    EXPECT_EQ(Receive(first, 19, 2s).size(), 19u);
    const int second = ConnectTo(sim.TcpPort());
    ASSERT_GE(second, 0);
    ASSERT_EQ(::send(second, kRead.data(), kRead.size(), MSG_NOSIGNAL), 4);
    EXPECT_TRUE(Receive(second, 1, 300ms).empty()) << "the second waits";
    ASSERT_EQ(::send(first, kRead.data(), kRead.size(), MSG_NOSIGNAL), 4);
    EXPECT_EQ(Receive(first, 19, 2s).size(), 19u) << "the first still talks";
    ::close(first);
    EXPECT_EQ(Receive(second, 19, 2s).size(), 19u) << "then the second is answered";
    ::close(second);
}

// The logs keep the latest bytes and commands only, counting all of them; the text log shows
// both directions.
TEST(SimService, LogsStayBoundedAndTheTextLogShowsBothDirections) {
    const std::string logPath =
        fs::temp_directory_path() / ("tq20-sim-log-" + std::to_string(::getpid()));
    CPrinterSim sim({.logLimits = {.bytes = 8, .commands = 2, .fileBytes = 1 << 20}});
    ASSERT_TRUE(sim.LogToFile(logPath));
    ASSERT_TRUE(sim.Start());
    const int host = ::open(sim.DevicePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(host, 0);
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(::write(host, kRead.data(), kRead.size()), 4);
        ASSERT_TRUE(sim.WaitForCommands(static_cast<std::size_t>(i + 1), 2s));
    }
    EXPECT_TRUE(sim.WaitForReceived(20, 2s));
    EXPECT_EQ(sim.ReceivedBytes().size(), 8u);
    EXPECT_EQ(sim.Commands().size(), 2u);
    sim.Stop();
    ::close(host);
    std::ifstream in(logPath);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    fs::remove(logPath);
    EXPECT_NE(text.find("host     12 63 4C 63\n"), std::string::npos) << text;
    EXPECT_NE(text.find("printer  08 40 06 50"), std::string::npos) << text;
}

// --link replaces an old symbolic link but never a file that someone keeps at that path.
TEST(SimService, TheLinkReplacesOnlyASymbolicLink) {
    const fs::path folder =
        fs::temp_directory_path() / ("tq20-sim-link-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path file = folder / "kept";
    std::ofstream(file) << "mine";
    const std::string simulator = TQ20_SIM;
    EXPECT_NE(std::system((simulator + " --link " + file.string() + " >/dev/null 2>&1").c_str()),
              0);
    std::ifstream kept(file);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "mine");

    // The link is watched while the simulator runs, and the simulator is stopped only once the
    // link has been seen replaced, however slowly it started.
    const fs::path link = folder / "printer";
    fs::create_symlink("/nonexistent", link);
    const pid_t child = ::fork();
    if (child == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        ::execl(simulator.c_str(), simulator.c_str(), "--link", link.c_str(), nullptr);
        ::_exit(127);
    }
    ASSERT_GT(child, 0);
    std::string target;
    for (int i = 0; i < 1000 && target.rfind("/dev/pts/", 0) != 0; ++i) {
        std::this_thread::sleep_for(10ms);
        std::error_code error;
        target = fs::read_symlink(link, error).string();
    }
    ::kill(child, SIGTERM);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(target.rfind("/dev/pts/", 0), 0u) << target;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_FALSE(fs::is_symlink(link)) << "removed when the simulator ends";
    fs::remove_all(folder);
}

}  // namespace
