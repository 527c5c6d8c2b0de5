// Every settings conversation driven once by the window's driver and once by tq20's, each against
// a printer of its own: the printers must hear the same bytes, with the same pauses. The two
// front-ends differ only in what they ask of the conversation, never in how it is carried out.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <functional>

#include "CConversationDriver.h"
#include "CPrinterSession.h"
#include "ConversationRunner.h"
#include "ConversationTimings.h"
#include "FakeSpooler.h"
#include "PrinterLine.h"
#include "RecordingNotifier.h"
#include "SettingValues.h"
#include "WireLog.h"

namespace {

using Start = std::function<ConversationStep(CSettingsConversation&, FlowControl lineFlow)>;
using Compose = CSettingsConversation::Compose;
using WindowStart = std::function<void(CConversationDriver&, const Compose&)>;

// A save of the named fields, read back afterwards.
Compose Writing(std::vector<SettingValue> values) {
    return [values](const PrinterSettings& current) {
        SettingsWrite write;
        auto bytes = current.ToBytes();
        for (const SettingValue& value : values) {
            bytes[value.index] = value.value;
            const auto bit = OptionBitOf(value.index);
            write.masks[static_cast<std::size_t>(bit->group)] |= bit->maskBit;
            write.checkedFields.push_back(value.index);
        }
        write.record = PrinterSettings::FromBytes(bytes);
        return write;
    };
}

SettingValue Value(const char* name, std::uint8_t value) {
    return {*SettingIndex(name), value};
}

struct DriverCase {
    const char* name;
    SimLine line;
    Compose compose;  // for a save
    Start blocking;
    WindowStart window;
};

ChannelConfig LineOf(const CPrinterSim& sim, const SimLine& line) {
    ChannelConfig config;
    config.portName = sim.DevicePath();
    config.baudRate = line.baudRate;
    config.flowControl = FlowAt(line.flowControl);
    return config;
}

// tq20's driver: opened, then the conversation from its start.
std::vector<SimCommandRecord> ThroughTq20(const DriverCase& c) {
    CPrinterSim sim;
    sim.WithProtocol([&](CSimProtocol& p) { p.SetLine(c.line); });
    EXPECT_TRUE(sim.Start());
    CPrinterSession session(LineOf(sim, c.line));
    EXPECT_TRUE(session.Open());
    sim.ClearLog();
    CSettingsConversation conversation;
    EXPECT_TRUE(RunConversation(session, conversation,
                                c.blocking(conversation, session.Line().flowControl)))
        << c.name;
    WaitUntilQuiet(sim);
    return sim.Commands();
}

// The window's driver: connected (which reads the record), then the conversation.
std::vector<SimCommandRecord> ThroughWindow(const DriverCase& c) {
    CPrinterSim sim;
    sim.WithProtocol([&](CSimProtocol& p) { p.SetLine(c.line); });
    EXPECT_TRUE(sim.Start());
    RecordingNotifier notifier;
    FakeSpooler queues;
    CConversationDriver driver(notifier, queues);
    QSignalSpy ended(&driver, &CConversationDriver::Ended);
    if (c.window) {
        EXPECT_TRUE(driver.Connect(LineOf(sim, c.line)));
        EXPECT_TRUE(ended.wait(3000));
        sim.ClearLog();
        c.window(driver, c.compose);
    } else {
        sim.ClearLog();
        EXPECT_TRUE(driver.Connect(LineOf(sim, c.line)));
    }
    EXPECT_TRUE(ended.wait(5000)) << c.name;
    EXPECT_EQ(ended.last().at(1).value<ConversationEnd>(), ConversationEnd::Done) << c.name;
    WaitUntilQuiet(sim);
    EXPECT_TRUE(notifier.Messages().empty()) << c.name;
    return sim.Commands();
}

// A pause one driver keeps, the other keeps too: each gap is at least the other's, to the
// recording step, less the simulator's stamping slack.
void ExpectSameWire(const char* name, const std::vector<SimCommandRecord>& tq20,
                    const std::vector<SimCommandRecord>& window) {
    const auto a = Heard(tq20);
    const auto b = Heard(window);
    ASSERT_EQ(a.size(), b.size()) << name << "\ntq20:\n" << Format(a) << "window:\n" << Format(b);
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].bytes, b[i].bytes) << name << " command " << i;
        if (i > 0) {
            const auto gap = [](const std::vector<SimCommandRecord>& log, std::size_t at) {
                return std::chrono::duration_cast<Milliseconds>(log[at].when - log[at - 1].when);
            };
            EXPECT_GE(gap(tq20, i), b[i].pause - kStampSlack) << name << " tq20, command " << i;
            EXPECT_GE(gap(window, i), a[i].pause - kStampSlack) << name << " window, command " << i;
        }
    }
}

TEST(TwoDrivers, EveryConversationReachesThePrinterAlike) {
    const SimLine factory{};
    const SimLine slow{.baudRate = 9600, .flowControl = 0};
    const SimLine xonXoff{.baudRate = 115200, .flowControl = 2};
    const DriverCase cases[] = {
        {"first read",
         factory,
         {},
         [](CSettingsConversation& c, FlowControl) { return c.StartRead(kFirstReadDelay); },
         {}},
        {"save of two groups",
         factory,
         Writing({Value("contrast", 3), Value("fontMode", 0x51)}),
         {},
         [](CConversationDriver& d, const Compose& compose) { d.Save(compose); }},
        {"save on an Xon/Xoff line",
         xonXoff,
         Writing({Value("contrast", 19)}),
         {},
         [](CConversationDriver& d, const Compose& compose) { d.Save(compose); }},
        {"port change",
         factory,
         Writing({Value("portBaudIndex", 2), Value("portFlowControl", 0x20)}),
         {},
         [](CConversationDriver& d, const Compose& compose) { d.Save(compose); }},
        {"factory restore",
         slow,
         {},
         [](CSettingsConversation& c, FlowControl) { return c.StartFactoryRestore(); },
         [](CConversationDriver& d, const Compose&) { d.RestoreFactory(); }},
        {"saved restore",
         factory,
         {},
         [](CSettingsConversation& c, FlowControl) { return c.StartSavedRestore(); },
         [](CConversationDriver& d, const Compose&) { d.RestoreSaved(); }},
        {"information",
         factory,
         {},
         [](CSettingsConversation& c, FlowControl) { return c.StartInfo(); },
         [](CConversationDriver& d, const Compose&) { d.RequestInfo(); }},
    };
    for (DriverCase c : cases) {
        if (!c.blocking) {
            c.blocking = [compose = c.compose](CSettingsConversation& conversation,
                                               FlowControl flow) {
                return conversation.StartSave(compose, flow);
            };
        }
        ExpectSameWire(c.name, ThroughTq20(c), ThroughWindow(c));
    }
}

}  // namespace
