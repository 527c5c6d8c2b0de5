#include <gtest/gtest.h>
#include <windows.h>
#include <winsock2.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "CSerialPort.h"
#include "CSocketTransport.h"
#include "OpenFailure.h"

namespace {

struct CodeCase {
    DWORD code;
    OpenFailureKind kind;
};

// What GetLastError() and WSAGetLastError() say after a failed open, and what the user is told.
// A COM port held by another program answers "access denied" on Windows; Wine does not refuse a
// second open, so only the code stands for that case here.
TEST(Win32OpenFailure, ErrorCodesNameTheCause) {
    const CodeCase cases[] = {
        {ERROR_FILE_NOT_FOUND, OpenFailureKind::NoDevice},
        {ERROR_PATH_NOT_FOUND, OpenFailureKind::NoDevice},
        {ERROR_ACCESS_DENIED, OpenFailureKind::InUse},
        {ERROR_SHARING_VIOLATION, OpenFailureKind::InUse},
        {ERROR_INVALID_FUNCTION, OpenFailureKind::NotSerial},
        {ERROR_NOT_SUPPORTED, OpenFailureKind::NotSerial},
        {WSAECONNREFUSED, OpenFailureKind::ConnectRefused},
        {WSAETIMEDOUT, OpenFailureKind::ConnectTimedOut},
        {WSAHOST_NOT_FOUND, OpenFailureKind::HostNotFound},
        {ERROR_GEN_FAILURE, OpenFailureKind::SystemError},
    };
    for (const CodeCase& c : cases) {
        const OpenFailure failure = ClassifyOpenError("COM3", static_cast<int>(c.code));
        EXPECT_EQ(failure.kind, c.kind) << c.code;
        EXPECT_EQ(failure.device, "COM3") << c.code;
    }
    const std::string text =
        DescribeOpenFailure(ClassifyOpenError("COM3", static_cast<int>(ERROR_GEN_FAILURE)));
    EXPECT_EQ(text.rfind("COM3: ", 0), 0u) << text;
    EXPECT_EQ(text.find("\r"), std::string::npos) << text;
    EXPECT_EQ(text.find(".."), std::string::npos) << text;
}

class OpenFailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (m_com.empty()) {
            GTEST_SKIP() << "run through wine-run.sh, which links COM5 to the simulator";
        }
    }
    OpenFailure FailureOf(const std::string& port) {
        CSerialPort serial(&m_sink, port, SerialLineRequest{});
        EXPECT_FALSE(serial.OpenConnection()) << port;
        return serial.LastOpenFailure();
    }

    struct NoInput final : IInputSink {
        void OnDataAvailable() override {}
    } m_sink;
    const char* m_environment = std::getenv("TQ20_TEST_COM");
    std::string m_com = m_environment != nullptr ? m_environment : "";
};

TEST_F(OpenFailureTest, AMissingPortListsThePortsThatExist) {
    const OpenFailure failure = FailureOf("COM9");
    EXPECT_EQ(failure.kind, OpenFailureKind::NoDevice);
    const auto& present = failure.presentDevices;
    EXPECT_NE(std::find(present.begin(), present.end(), m_com), present.end())
        << DescribeOpenFailure(failure);
}

TEST_F(OpenFailureTest, ADeviceThatIsNoSerialPortIsNamedSo) {
    EXPECT_EQ(FailureOf("NUL").kind, OpenFailureKind::NotSerial);
}

// Nothing listens on port 1 of this machine.
TEST_F(OpenFailureTest, ARefusedConnectionIsToldAsSuch) {
    CSocketTransport socket(&m_sink, "127.0.0.1", 1);
    EXPECT_FALSE(socket.Open());
    EXPECT_EQ(socket.LastOpenFailure().kind, OpenFailureKind::ConnectRefused);
    CSocketTransport unknown(&m_sink, "no-such-host.invalid", 9100);
    EXPECT_FALSE(unknown.Open());
    EXPECT_EQ(unknown.LastOpenFailure().kind, OpenFailureKind::HostNotFound);
}

}  // namespace
