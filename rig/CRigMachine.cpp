#include "CRigMachine.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kBootTimeout = 120s;
const char* const kAdapterId = "ftdi";
const char* const kAcceleratorVariable = "TQ20_RIG_ACCEL";

int ListenOn(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 1) != 0) {
        if (fd >= 0) {
            ::close(fd);
        }
        return -1;
    }
    return fd;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

nlohmann::json AdapterArguments() {
    return {{"driver", "usb-serial"},
            {"id", kAdapterId},
            {"bus", "xhci.0"},
            {"chardev", "adapter-line"}};
}

}  // namespace

CRigMachine::CRigMachine(Config config) : m_config(std::move(config)) {}

CRigMachine::~CRigMachine() {
    Stop();
}

bool CRigMachine::Fail(const std::string& why) {
    m_error = why + "\n--- guest\n" + m_shell.BootLog() + "\n--- qemu\n" +
              (m_scratch.empty() ? "" : ReadText(m_scratch + "/qemu.log"));
    return false;
}

std::string CRigMachine::AcceleratorReport() const {
    return m_choice.empty() ? m_accelerator : m_accelerator + " (" + m_choice + ")";
}

bool CRigMachine::WriteInitrd() {
    std::ifstream base(m_config.rigDir + "/guest.cpio", std::ios::binary);
    std::ofstream initrd(m_scratch + "/initrd", std::ios::binary);
    initrd << base.rdbuf();
    const auto files = CpioArchive(m_config.files);
    initrd.write(reinterpret_cast<const char*>(files.data()), static_cast<long>(files.size()));
    return base && initrd.good();
}

std::vector<std::string> CRigMachine::Arguments() const {
    const std::string& scratch = m_scratch;
    return {"qemu-system-x86_64", "-accel", m_accelerator, "-m", "256M", "-smp", "1", "-nodefaults",
            "-no-user-config", "-display", "none", "-no-reboot", "-kernel",
            m_config.rigDir + "/kernel/vmlinuz", "-initrd", scratch + "/initrd", "-append",
            "console=ttyS1,115200 quiet panic=-1",
            // COM1: the printer's UART; the host terminal takes the guest's line settings.
            "-chardev", "serial,id=uart-line,path=" + m_config.uartDevice, "-device",
            "isa-serial,chardev=uart-line,index=0",
            // COM2: the control shell and the kernel's console.
            "-chardev", "socket,id=control,path=" + scratch + "/control.sock", "-device",
            "isa-serial,chardev=control,index=1", "-device", "qemu-xhci,id=xhci", "-chardev",
            "serial,id=adapter-line,path=" + m_config.usbDevice, "-device",
            "usb-serial,id=" + std::string(kAdapterId) + ",bus=xhci.0,chardev=adapter-line",
            "-chardev", "socket,id=monitor,path=" + scratch + "/monitor.sock", "-mon",
            "chardev=monitor,mode=control"};
}

bool CRigMachine::Launch() {
    const auto arguments = Arguments();
    const std::string log = m_scratch + "/qemu.log";
    m_qemu = ::fork();
    if (m_qemu == 0) {
        // QEMU must not outlive a test that dies.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(out, STDOUT_FILENO);
        ::dup2(out, STDERR_FILENO);
        std::vector<char*> argv;
        for (const auto& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    return m_qemu > 0;
}

bool CRigMachine::Accept(int listener, CLineSocket& socket) {
    const auto deadline = Clock::now() + 30s;
    while (Clock::now() < deadline) {
        pollfd ready{listener, POLLIN, 0};
        if (::poll(&ready, 1, 100) == 1) {
            socket = CLineSocket(::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC));
            return socket.IsOpen();
        }
        if (::waitpid(m_qemu, nullptr, WNOHANG) == m_qemu) {
            m_qemu = -1;
            return false;
        }
    }
    return false;
}

// /dev/kvm can open and create a VM on a host whose guests then spin in the kernel, so KVM is
// used only once a guest has booted with it.
bool CRigMachine::Start() {
    const char* fromEnvironment = std::getenv(kAcceleratorVariable);
    std::string mode =
        m_config.accelerator.empty() && fromEnvironment ? fromEnvironment : m_config.accelerator;
    if (mode.empty()) {
        mode = "auto";
    }
    if (mode == "kvm" || mode == "tcg") {
        m_choice = "chosen";
        return Boot(mode, kBootTimeout);
    }
    if (mode != "auto") {
        return Fail(std::string(kAcceleratorVariable) + " is \"" + mode +
                    "\"; it may be kvm, tcg or auto");
    }
    if (::access(m_config.kvmDevice.c_str(), R_OK | W_OK) != 0) {
        m_choice = "no usable " + m_config.kvmDevice;
        return Boot("tcg", kBootTimeout);
    }
    if (Boot("kvm", m_config.kvmBootTimeout)) {
        m_choice = "booted";
        return true;
    }
    m_choice = "kvm tried: " + m_error.substr(0, m_error.find('\n')) + " within " +
               std::to_string(m_config.kvmBootTimeout.count()) + " s";
    Stop();
    return Boot("tcg", kBootTimeout);
}

bool CRigMachine::Boot(const std::string& accelerator, std::chrono::seconds timeout) {
    m_accelerator = accelerator;
    m_shell = CGuestShell();
    m_monitor = CQemuMonitor();
    char pattern[] = "/tmp/tq20-rig-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        return Fail("no scratch folder");
    }
    m_scratch = pattern;
    if (!WriteInitrd()) {
        return Fail("cannot read " + m_config.rigDir + "/guest.cpio (run the RigGuestImage test)");
    }
    m_controlListener = ListenOn(m_scratch + "/control.sock");
    m_monitorListener = ListenOn(m_scratch + "/monitor.sock");
    const auto start = Clock::now();
    if (m_controlListener < 0 || m_monitorListener < 0 || !Launch()) {
        return Fail("cannot start qemu-system-x86_64");
    }
    CLineSocket control;
    CLineSocket monitor;
    if (!Accept(m_controlListener, control) || !Accept(m_monitorListener, monitor)) {
        return Fail("qemu did not connect its control line and monitor");
    }
    m_shell.Attach(std::move(control));
    m_monitor.Attach(std::move(monitor));
    if (!m_monitor.Handshake(10s)) {
        return Fail("no QMP greeting");
    }
    if (!m_shell.WaitReady(timeout)) {
        return Fail("the guest did not come up");
    }
    m_bootSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    return true;
}

void CRigMachine::Stop() {
    if (m_qemu > 0) {
        ::kill(m_qemu, SIGKILL);
        ::waitpid(m_qemu, nullptr, 0);
        m_qemu = -1;
    }
    for (int* fd : {&m_controlListener, &m_monitorListener}) {
        if (*fd >= 0) {
            ::close(*fd);
            *fd = -1;
        }
    }
    if (!m_scratch.empty()) {
        std::filesystem::remove_all(m_scratch);
        m_scratch.clear();
    }
}

bool CRigMachine::UnplugAdapter() {
    const auto answer = m_monitor.Execute("device_del", {{"id", kAdapterId}}, 10s);
    return answer && answer->contains("return") &&
           m_monitor.WaitEvent("DEVICE_DELETED", {{"device", kAdapterId}}, 10s);
}

bool CRigMachine::PlugAdapter() {
    const auto answer = m_monitor.Execute("device_add", AdapterArguments(), 10s);
    return answer && answer->contains("return");
}
