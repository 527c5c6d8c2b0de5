#include "TestPrintRun.h"

#include "ConfiguratorStrings.h"
#include "Console.h"
#include "ReceiptPicture.h"
#include "SettingsSession.h"
#include "TestPrintComposer.h"

int PrintTestReceipt(const ChannelConfig& line, const TestPrintJob& job) {
    CPrinterSession session(line);
    const auto record = OpenAndRead(session);
    if (!record) {
        return session.ExitCode();
    }
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ComposeTestPrint(job.sample, *record, job.date, bytes, error)) {
        return BadInput(error);
    }
    if (!job.preview.empty()) {
        session.Close();
        return WriteReceiptPicture(bytes, *record, job.preview, error) ? kSettingsDone
                                                                       : BadInput(error);
    }
    if (!session.Print(bytes)) {
        return session.ExitCode();
    }
    Out() << ConfigString(IDS_TEST_PRINT_SENT) << '\n';
    return kSettingsDone;
}
