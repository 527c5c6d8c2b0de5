#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "CLoaderDlg.h"
#include "CPrinterSim.h"
#include "CTextProgressCtrl.h"
#include "LoaderFiles.h"
#include "QtProfileStore.h"
#include "RecordingNotifier.h"
#include "SerialPortList.h"

namespace {

using namespace std::chrono_literals;
using Message = RecordingNotifier::Message;

const std::string kCaption = "Загрузчик";

// The loader window as a user sees it, driven through its controls, against the simulator.
class LoaderWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim.Start());
        profile = CQtProfileStore::AtFile(folder.filePath("Loader.ini"));
        window = std::make_unique<CLoaderDlg>(notifier, *profile);
        window->SetReplyWatch(300ms);
        window->show();
    }

    template <typename T>
    T* Control(const char* name) {
        return window->findChild<T*>(name);
    }

    void Choose(const std::string& file, const std::string& port, const QString& baud = "115200") {
        Control<QComboBox>("portCombo")->setEditText(QString::fromStdString(port));
        Control<QComboBox>("baudCombo")->setCurrentText(baud);
        Control<QLineEdit>("fileEdit")->setText(QString::fromStdString(file));
    }

    // Clicks the load button and waits for the one message that ends the load.
    Message LoadAndWait() {
        const std::size_t before = notifier.Messages().size();
        Control<QPushButton>("loadButton")->click();
        EXPECT_TRUE(QTest::qWaitFor([&] { return notifier.Messages().size() > before; }, 30000));
        QTest::qWait(20);
        const auto messages = notifier.Messages();
        EXPECT_EQ(messages.size(), before + 1) << "one message per load";
        return messages.empty() ? Message{} : messages.back();
    }

    void ExpectIdle() {
        for (const char* name :
             {"loadButton", "browseButton", "fileEdit", "baudCombo", "portCombo"}) {
            EXPECT_TRUE(Control<QWidget>(name)->isEnabled()) << name;
        }
        EXPECT_FALSE(Control<CTextProgressCtrl>("progress")->isVisible());
        EXPECT_EQ(Control<CTextProgressCtrl>("progress")->Text(), " ");
        EXPECT_FALSE(window->IsLoading());
    }

    void Fault(BootFault fault) {
        sim.WithProtocol([&](CSimProtocol& p) { p.BootArea().SetFault(fault); });
    }

    QTemporaryDir folder;
    CPrinterSim sim;
    RecordingNotifier notifier;
    std::unique_ptr<CQtProfileStore> profile;
    std::unique_ptr<CLoaderDlg> window;
};

TEST_F(LoaderWindowTest, LoadsAProgramAndReturnsToIdle) {
    const auto data = Pattern(200, 3);
    const TempFile file("fw.bin", ProgramFileBytes("TQ-20 A0", 10, {{0x0400, data}}));
    Choose(file.Path(), sim.DevicePath());
    EXPECT_EQ(LoadAndWait(), (Message{"Программа успешно загружена в принтер.", kCaption,
                                      MessageIcon::Information}));
    ExpectIdle();
    sim.WithProtocol([&](CSimProtocol& p) {
        EXPECT_TRUE(std::equal(data.begin(), data.end(), p.BootArea().Memory().begin() + 0x400));
    });
    EXPECT_EQ(window->windowTitle(), QString("Загрузчик"));
}

TEST_F(LoaderWindowTest, FontStatusNamesThePrinterOnceItHasReported) {
    sim.SetPacing(true);
    sim.WithProtocol([](CSimProtocol& p) { p.SetLine({.baudRate = 9600, .flowControl = 0}); });
    const TempFile file("f.fnt", FontFileBytes("", Pattern(600, 4)));
    Choose(file.Path(), sim.DevicePath(), "9600");
    Control<QPushButton>("loadButton")->click();
    auto* progress = Control<CTextProgressCtrl>("progress");
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->Text(), QString("Загрузка шрифта в ..."));
    EXPECT_FALSE(Control<QWidget>("portCombo")->isEnabled());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return progress->Text() == QString("Загрузка шрифта в TQ-20 A0..."); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !notifier.Messages().empty(); }, 30000));
    EXPECT_EQ(notifier.Messages().back().text, "Шрифт успешно загружен в принтер.");
    ExpectIdle();
}

struct EndingCase {
    const char* name;
    BootFault fault;
    const char* text;
};

TEST_F(LoaderWindowTest, EveryFailureShowsItsMessageAndReturnsToIdle) {
    using K = BootFaultKind;
    const EndingCase cases[] = {
        {"silence",
         {K::Silence, 'r'},
         "Истекло время ожидания ответа от принтера.\nЗагрузка будет прервана."},
        {"controller",
         {K::ControllerCode, 'B'},
         "Данная модель контроллера не поддерживается (TQ-20 A0).\nЗагрузка будет прервана."},
        {"model",
         {K::Model, 'M'},
         "Данная модель контроллера не поддерживается (TQ-20 A0).\nФайл с данными не пригоден "
         "для загрузки.\nЗагрузка будет прервана."},
        {"packet", {K::PacketFlag, 'd'}, "Ошибка в принятом пакете.\nЗагрузка будет прервана."},
        {"command", {K::Letters, 'r'}, "Ошибка в принятой команде.\nЗагрузка будет прервана."},
        {"address", {K::AddressEcho, 'a'}, "Ошибка в принятом адресе.\nЗагрузка будет прервана."},
        {"size", {K::SizeEcho, 'd'}, "Ошибка в принятом размере.\nЗагрузка будет прервана."},
        {"integrity", {K::Integrity, 'w'}, "Ошибка целостности данных.\nЗагрузка будет прервана."},
        {"check",
         {K::CheckEcho, 'e'},
         "Ошибка целостности данных в принятом пакете.\nЗагрузка будет прервана."},
        {"echo", {K::DataEcho, 'e'}, "Ошибка в принятых данных.\nЗагрузка будет прервана."},
    };
    const TempFile file(
        "fw.bin", ProgramFileBytes("TQ-20 A0", 10, {{0, Pattern(16, 1)}, {64, Pattern(16, 2)}}));
    for (const EndingCase& c : cases) {
        Fault(c.fault);
        Choose(file.Path(), sim.DevicePath());
        EXPECT_EQ(LoadAndWait(), (Message{c.text, kCaption, MessageIcon::Error})) << c.name;
        ExpectIdle();
    }
}

TEST_F(LoaderWindowTest, ProgramWithoutRecordsEndsBeforeTalking) {
    const TempFile file("empty.bin", ProgramFileBytes("TQ-20 A0", 10, {}));
    Choose(file.Path(), sim.DevicePath());
    EXPECT_EQ(LoadAndWait(), (Message{"Нет данных для загрузки.\nЗагрузка будет прервана.",
                                      kCaption, MessageIcon::Error}));
    ExpectIdle();
    EXPECT_TRUE(sim.ReceivedBytes().empty());
}

TEST_F(LoaderWindowTest, PortThatDoesNotOpen) {
    const TempFile file("fw.bin", ProgramFileBytes("TQ-20 A0", 10, {{0, Pattern(16, 1)}}));
    Choose(file.Path(), "/dev/no-such-port");
    EXPECT_EQ(LoadAndWait(),
              (Message{"Не удалось открыть порт.\nВозможно, он занят другим приложением.", kCaption,
                       MessageIcon::Error}));
    ExpectIdle();
}

TEST_F(LoaderWindowTest, FileErrorsChangeNothing) {
    const TempFile badMagic("x.bin", {'m', 'y', 'b', 'i', 'n', 0, 0, 0});
    const std::pair<std::string, const char*> cases[] = {
        {"/no/such/file.bin", "Невозможно открыть файл с данными."},
        {badMagic.Path(), "Неверные данные в файле.\nЗагрузка невозможна."},
    };
    for (const auto& [path, text] : cases) {
        Choose(path, sim.DevicePath());
        EXPECT_EQ(LoadAndWait(), (Message{text, kCaption, MessageIcon::Error}));
        ExpectIdle();
    }
    EXPECT_TRUE(sim.ReceivedBytes().empty());
}

TEST_F(LoaderWindowTest, HangUpMidLoadEndsWithOneMessage) {
    sim.SetPacing(true);
    std::vector<ProgramRecord> records;
    for (std::uint32_t i = 0; i < 40; ++i) {
        records.push_back({i * 256, Pattern(256, static_cast<std::uint8_t>(i))});
    }
    const TempFile file("fw.bin", ProgramFileBytes("TQ-20 A0", 10, records));
    Choose(file.Path(), sim.DevicePath());
    Control<QPushButton>("loadButton")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return sim.ReceivedBytes().size() > 1500; }, 10000));
    sim.InjectFault({.kind = SimFaultKind::HangUp, .hangUpAfter = 1});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !notifier.Messages().empty(); }, 3000));
    EXPECT_EQ(notifier.Messages(), (std::vector<Message>{{"Связь с принтером потеряна.\n"
                                                          "Загрузка будет прервана.",
                                                          kCaption, MessageIcon::Error}}));
    ExpectIdle();
}

TEST_F(LoaderWindowTest, ClosingIsRefusedWhileALoadRuns) {
    sim.SetPacing(true);
    std::vector<ProgramRecord> records;
    for (std::uint32_t i = 0; i < 8; ++i) {
        records.push_back({i * 256, Pattern(256, static_cast<std::uint8_t>(i))});
    }
    const TempFile file("fw.bin", ProgramFileBytes("TQ-20 A0", 10, records));
    Choose(file.Path(), sim.DevicePath(), "115200");
    Control<QPushButton>("loadButton")->click();
    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->IsLoading());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !notifier.Messages().empty(); }, 10000));
    window->close();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(LoaderWindowTest, RemembersSpeedAndPortBetweenRuns) {
    const auto devices = ListSerialDevices();
    const QString firstDevice = devices.empty() ? QString() : QString::fromStdString(devices[0]);
    EXPECT_EQ(Control<QComboBox>("baudCombo")->currentText(), QString("115200"));
    EXPECT_EQ(Control<QComboBox>("portCombo")->currentText(), firstDevice);
    Choose("", sim.DevicePath(), "9600");
    window->close();
    window = std::make_unique<CLoaderDlg>(notifier, *profile);
    EXPECT_EQ(Control<QComboBox>("baudCombo")->currentText(), QString("9600"));
    EXPECT_EQ(Control<QComboBox>("portCombo")->currentText(),
              QString::fromStdString(sim.DevicePath()));
    EXPECT_GE(Control<QComboBox>("portCombo")->findText(QString::fromStdString(sim.DevicePath())),
              0)
        << "a remembered path the system does not list is offered again";
}

}  // namespace
