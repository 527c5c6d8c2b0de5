#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

#include "CGuestShell.h"
#include "CQemuMonitor.h"
#include "GuestFiles.h"

// A QEMU machine running Debian's kernel with the printer's two lines: a 16550A UART
// (/dev/ttyS0 in the guest) and an FTDI USB-serial adapter on an xHCI controller
// (/dev/ttyUSB0). QEMU drives the host terminals it is given with the line settings the
// guest's drivers program, so a simulator on the far side sees the guest's speed.
class CRigMachine {
public:
    struct Config {
        std::string rigDir;      // holds kernel/vmlinuz and guest.cpio
        std::string uartDevice;  // host terminal behind the UART
        std::string usbDevice;   // host terminal behind the USB adapter
        std::vector<GuestFile> files{};
        // "kvm", "tcg" or "auto"; empty takes TQ20_RIG_ACCEL, and auto when that is unset.
        // Auto uses KVM only when a guest boots with it within kvmBootTimeout, else TCG.
        std::string accelerator{};
        std::string kvmDevice = "/dev/kvm";
        std::chrono::seconds kvmBootTimeout{20};
    };

    explicit CRigMachine(Config config);
    CRigMachine(const CRigMachine&) = delete;
    CRigMachine& operator=(const CRigMachine&) = delete;
    ~CRigMachine();

    // Boots the guest up to its control shell; false with the reason in Error().
    bool Start();
    void Stop();
    CGuestShell& Shell() { return m_shell; }
    // Pulls the USB adapter out and waits until QEMU has let go of it.
    bool UnplugAdapter();
    bool PlugAdapter();
    const std::string& Error() const { return m_error; }
    double BootSeconds() const { return m_bootSeconds; }
    // The accelerator the running guest uses: "kvm" or "tcg".
    const std::string& Accelerator() const { return m_accelerator; }
    // The accelerator and why it was chosen, e.g. "tcg (kvm tried: the guest did not come up)".
    std::string AcceleratorReport() const;

private:
    bool Fail(const std::string& why);
    bool Boot(const std::string& accelerator, std::chrono::seconds timeout);
    bool WriteInitrd();
    std::vector<std::string> Arguments() const;
    bool Launch();
    bool Accept(int listener, CLineSocket& socket);

    Config m_config;
    std::string m_scratch;
    pid_t m_qemu = -1;
    int m_controlListener = -1;
    int m_monitorListener = -1;
    CGuestShell m_shell;
    CQemuMonitor m_monitor;
    std::string m_error;
    double m_bootSeconds = 0;
    std::string m_accelerator;
    std::string m_choice;  // why m_accelerator, for the report
};
