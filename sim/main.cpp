// tq20-sim: a TQ-20 printer on a pseudo-terminal (and a TCP port), for working without hardware.
#include <signal.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "CPrinterSim.h"
#include "CSimPaper.h"
#include "Cp1251.h"
#include "Tq20Version.h"

namespace {

const std::map<std::string, int> kFlowNames{
    {"none", 0}, {"rtscts", 1}, {"xonxoff", 2}, {"both", 3}};
const std::map<std::string, int> kParityNames{{"none", 0}, {"odd", 1}, {"even", 2}};
const std::map<std::string, SimFaultKind> kFaultNames{{"none", SimFaultKind::None},
                                                      {"silence", SimFaultKind::Silence},
                                                      {"long", SimFaultKind::WrongLength},
                                                      {"trickle", SimFaultKind::Trickle},
                                                      {"hangup", SimFaultKind::HangUp}};

void BlockStopSignals(sigset_t& stopSignals) {
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
}

// What this printer tells about itself, and what its loads change: typed in UTF-8, held in the
// printer's code page.
struct PrinterIdentity {
    std::map<int, std::string> infoItems;
    std::optional<std::string> loadedVersion;
    std::optional<std::string> loadedFont;

    void ApplyTo(CSimProtocol& protocol) const {
        for (const auto& [item, text] : infoItems) {
            protocol.SetInfoItem(item, Utf8ToCp1251(text));
        }
        if (loadedVersion) {
            protocol.SetLoadedVersion(Utf8ToCp1251(*loadedVersion));
        }
        if (loadedFont) {
            protocol.SetLoadedFont(Utf8ToCp1251(*loadedFont));
        }
    }
};

void AddIdentityOptions(CLI::App& app, PrinterIdentity& identity) {
    const std::pair<const char*, int> items[] = {
        {"--serial", CSimProtocol::kInfoSerial},
        {"--firmware-version", CSimProtocol::kInfoFirmware},
        {"--font-name", CSimProtocol::kInfoFont}};
    for (const auto& [name, item] : items) {
        app.add_option_function<std::string>(
            name,
            [&identity, item = item](const std::string& text) { identity.infoItems[item] = text; },
            "what information item " + std::to_string(item) + " reports");
    }
    app.add_option("--loaded-version", identity.loadedVersion,
                   "what item 4 reports after a program load that ran to its end");
    app.add_option("--loaded-font", identity.loadedFont,
                   "what item 9 reports after a font load that ran to its end");
}

bool LinkTo(CPrinterSim& sim, const std::string& link) {
    switch (sim.LinkTo(link)) {
        case CSimDeviceLink::Result::Made:
            return true;
        case CSimDeviceLink::Result::NotALink:
            std::cerr << "tq20-sim: " << link << " exists and is not a symbolic link; left alone\n";
            return false;
        case CSimDeviceLink::Result::Failed:
            break;
    }
    std::cerr << "tq20-sim: cannot create the link " << link << "\n";
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "TQ-20 printer simulator: answers the configurator and the loader on a "
        "pseudo-terminal, and on 127.0.0.1 with --tcp."};
    app.set_version_flag("--version", std::string("tq20-sim ") + kTq20Version);
    SimOptions options;
    SimLine line;
    bool twoStopBits = false;
    std::string link;
    SimFaultKind faultKind = SimFaultKind::None;
    int tcpPort = -1;
    app.add_option("--tcp", tcpPort, "also listen on this TCP port of 127.0.0.1 (0: any)")
        ->check(CLI::Range(0, 65535));
    app.add_option("--baud", line.baudRate, "the printer's line speed")
        ->check(CLI::IsMember(std::vector<unsigned>(kSimBaudRates.begin(), kSimBaudRates.end())));
    app.add_option("--flow", line.flowControl, "the printer's flow control")
        ->transform(CLI::CheckedTransformer(kFlowNames));
    app.add_option("--parity", line.parity, "the printer's parity")
        ->transform(CLI::CheckedTransformer(kParityNames));
    app.add_flag("--two-stop-bits", twoStopBits, "two stop bits instead of one");
    app.add_flag("--pace", options.pace, "take as long as a real line for every byte");
    app.add_flag(
        "--no-line-check", [&](std::int64_t) { options.checkLine = false; },
        "answer whatever line settings the host uses");
    std::string logPath;
    app.add_option("--link", link,
                   "make a symbolic link to the device at this path (replaces only a link)");
    app.add_option("--log", logPath, "write every chunk in both directions to this file, in hex");
    std::string paperFolder;
    app.add_option("--paper", paperFolder,
                   "print what the host sends as one PNG per receipt in this folder")
        ->check(CLI::ExistingDirectory);
    app.add_option("--fault", faultKind, "misbehave from the start")
        ->transform(CLI::CheckedTransformer(kFaultNames));
    PrinterIdentity identity;
    AddIdentityOptions(app, identity);
    app.add_option("--unplug-at-block", options.unplugAtBlock,
                   "unplug the line once this block of the first program load is answered, "
                   "and plug it in again a second later")
        ->check(CLI::PositiveNumber);
    CLI11_PARSE(app, argc, argv);

    line.twoStopBits = twoStopBits;
    options.tcp = tcpPort >= 0;
    options.tcpPort = static_cast<std::uint16_t>(std::max(0, tcpPort));
    sigset_t stopSignals;
    BlockStopSignals(stopSignals);

    std::unique_ptr<CSimPaper> paper;
    if (!paperFolder.empty()) {
        paper = std::make_unique<CSimPaper>(paperFolder);
    }
    CPrinterSim sim(options);
    if (paper) {
        sim.SetPrintListener(
            [&paper](std::span<const std::uint8_t> bytes, const CSimProtocol::Record& record) {
                paper->Heard(bytes, record);
            });
    }
    sim.WithProtocol([&](CSimProtocol& protocol) {
        protocol.SetLine(line);
        identity.ApplyTo(protocol);
    });
    sim.InjectFault({.kind = faultKind});
    if (!logPath.empty() && !sim.LogToFile(logPath)) {
        std::cerr << "tq20-sim: cannot write the log " << logPath << "\n";
        return 1;
    }
    if (!sim.Start()) {
        std::cerr << "tq20-sim: cannot open a pseudo-terminal or the TCP port\n";
        return 1;
    }
    if (!link.empty() && !LinkTo(sim, link)) {
        return 1;
    }
    std::cout << "pty: " << sim.DevicePath() << std::endl;
    if (options.tcp) {
        std::cout << "tcp: 127.0.0.1:" << sim.TcpPort() << std::endl;
    }
    int received = 0;
    sigwait(&stopSignals, &received);
    sim.Stop();
    return 0;
}
