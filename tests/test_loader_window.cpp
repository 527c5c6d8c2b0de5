#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <future>

#include "CAboutDlg.h"
#include "CAsyncFileRead.h"
#include "CLoaderDlg.h"
#include "CPrinterSim.h"
#include "CTextProgressCtrl.h"
#include "LineItems.h"
#include "LoaderFiles.h"
#include "QtProfileStore.h"
#include "RecordingNotifier.h"
#include "SerialPortList.h"
#include "Tq20Version.h"

namespace {

using namespace std::chrono_literals;
using Message = RecordingNotifier::Message;

const std::string kCaption = "Загрузчик";

// The texts a progress bar took, in order, from a spy on its TextChanged.
QStringList TextsShown(const QSignalSpy& spy) {
    QStringList texts;
    for (const QList<QVariant>& arguments : spy) {
        texts << arguments.at(0).toString();
    }
    return texts;
}

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

TEST(LoaderAboutBox, ShowsTheVersionOfTheBuild) {
    CAboutDlg about;
    EXPECT_EQ(about.findChild<QLabel*>("version")->text(),
              QString("Версия ") + QString::fromLatin1(kTq20Version));
}

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

// A printer can be loaded at every speed its port page can set it to: the list offers each of
// them, slowest first, and a load runs at the slowest and at a non-standard one.
TEST_F(LoaderWindowTest, LoadsAtEverySpeedThePrinterCanBeSetTo) {
    auto* baud = Control<QComboBox>("baudCombo");
    std::vector<unsigned> offered;
    for (int i = 0; i < baud->count(); ++i) {
        offered.push_back(baud->itemText(i).toUInt());
    }
    EXPECT_TRUE(std::is_sorted(offered.begin(), offered.end()));
    for (const unsigned speed : kPrinterPortSpeeds) {
        EXPECT_NE(std::find(offered.begin(), offered.end(), speed), offered.end()) << speed;
    }
    sim.SetPacing(true);
    const TempFile file("fw.bin", ProgramFileBytes("TQ-20 A0", 10, {{0x0400, Pattern(16, 3)}}));
    for (const unsigned speed : {1200u, 28800u}) {
        sim.WithProtocol(
            [&](CSimProtocol& p) { p.SetLine({.baudRate = speed, .flowControl = 0}); });
        Choose(file.Path(), sim.DevicePath(), QString::number(speed));
        EXPECT_EQ(LoadAndWait(), (Message{"Программа успешно загружена в принтер.", kCaption,
                                          MessageIcon::Information}))
            << speed;
        ExpectIdle();
    }
}

TEST_F(LoaderWindowTest, FontStatusNamesThePrinterOnceItHasReported) {
    sim.SetPacing(true);
    sim.WithProtocol([](CSimProtocol& p) { p.SetLine({.baudRate = 9600, .flowControl = 0}); });
    const TempFile file("f.fnt", FontFileBytes("", Pattern(600, 4)));
    Choose(file.Path(), sim.DevicePath(), "9600");
    auto* progress = Control<CTextProgressCtrl>("progress");
    QSignalSpy texts(progress, &CTextProgressCtrl::TextChanged);
    Control<QPushButton>("loadButton")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return progress->isVisible(); }, 3000));
    EXPECT_FALSE(Control<QWidget>("portCombo")->isEnabled());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !notifier.Messages().empty(); }, 30000));
    EXPECT_EQ(notifier.Messages().back().text, "Шрифт успешно загружен в принтер.");
    // The printer's name replaces the dots once the printer has reported it.
    const QStringList shown = TextsShown(texts);
    const auto named = shown.indexOf("Загрузка шрифта в TQ-20 A0...");
    EXPECT_EQ(shown.value(0), QString("Загрузка шрифта в ...")) << shown.join(" | ").toStdString();
    EXPECT_GT(named, 0) << shown.join(" | ").toStdString();
    ExpectIdle();
}

// Looks at the bar at every repaint while a load runs (the bar repaints at once whenever its
// filled part grows), beside the number of blocks the printer has written by then.
class BarWatch final : public QObject {
public:
    struct Sight {
        int position;
        int upper;
        std::size_t blocksWritten;
        QString shown;
    };

    BarWatch(CTextProgressCtrl* bar, std::function<bool()> loading,
             std::function<std::size_t()> blocksWritten)
        : m_loading(std::move(loading)), m_blocksWritten(std::move(blocksWritten)) {
        bar->installEventFilter(this);
    }
    std::vector<Sight> sights;
    bool emptyRangeShown = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto* bar = static_cast<CTextProgressCtrl*>(watched);
        if (event->type() == QEvent::Paint && m_loading()) {
            emptyRangeShown = emptyRangeShown || bar->Upper() <= bar->Lower();
            sights.push_back({bar->GetPos(), bar->Upper(), m_blocksWritten(), bar->ShownText()});
        }
        return false;
    }

private:
    std::function<bool()> m_loading;
    std::function<std::size_t()> m_blocksWritten;
};

struct ProgressCase {
    const char* name;
    std::vector<std::uint8_t> file;
    std::uint32_t fontStart;
};

std::vector<ProgramRecord> PageRecords(std::uint32_t count) {
    std::vector<ProgramRecord> records;
    for (std::uint32_t i = 0; i < count; ++i) {
        records.push_back({i * 256, Pattern(256, static_cast<std::uint8_t>(i))});
    }
    return records;
}

// The bar runs with the blocks, never ahead of the printer by more than the block on its way,
// and is exactly full with the last one, whatever the size.
TEST_F(LoaderWindowTest, ProgressRunsToTheEndForAnySize) {
    constexpr int kLargestBlock = 8 + 256;  // a program record with its header
    const ProgressCase cases[] = {
        {"64 KiB font", FontFileBytes("", Pattern(65536, 1)), 0x010000},
        {"font of 66 536 bytes across the banks", FontFileBytes("", Pattern(66536, 2)), 0x0001F0},
        {"program of 300 records", ProgramFileBytes("TQ-20 A0", 10, PageRecords(300)), 0},
    };
    for (const ProgressCase& c : cases) {
        std::size_t before = 0;
        sim.WithProtocol([&](CSimProtocol& p) {
            p.BootArea().Settings().fontStart = c.fontStart;
            before = p.BootArea().BlockAddresses().size();
        });
        const TempFile file("data.bin", c.file);
        Choose(file.Path(), sim.DevicePath());
        BarWatch watch(
            Control<CTextProgressCtrl>("progress"), [this] { return window->IsLoading(); },
            [this, before] {
                std::size_t written = 0;
                sim.WithProtocol([&](CSimProtocol& p) {
                    written = p.BootArea().BlockAddresses().size() - before;
                });
                return written;
            });
        EXPECT_EQ(LoadAndWait().icon, MessageIcon::Information) << c.name;
        EXPECT_FALSE(watch.emptyRangeShown) << c.name;
        ASSERT_FALSE(watch.sights.empty()) << c.name;
        for (std::size_t i = 0; i < watch.sights.size(); ++i) {
            const BarWatch::Sight& sight = watch.sights[i];
            const int inFlight = static_cast<int>(sight.blocksWritten + 1) * kLargestBlock;
            EXPECT_LE(sight.position, inFlight) << c.name << " sight " << i;
            if (i > 0) {
                EXPECT_GE(sight.position, watch.sights[i - 1].position) << c.name;
            }
        }
        EXPECT_EQ(watch.sights.back().position, watch.sights.back().upper) << c.name;
        // The status text tells how far the bar has come, up to the end.
        for (const BarWatch::Sight& sight : watch.sights) {
            const QString percent =
                QString(" — %1 %").arg(static_cast<long long>(sight.position) * 100 / sight.upper);
            EXPECT_TRUE(sight.shown.endsWith(percent))
                << c.name << ": " << sight.shown.toStdString() << " at " << sight.position;
        }
        EXPECT_TRUE(watch.sights.back().shown.endsWith(" — 100 %")) << c.name;
    }
}

// The printer's model comes in its own code page, Windows-1251, and is shown decoded.
TEST_F(LoaderWindowTest, ModelInTheCodePageOfThePrinterIsShownDecoded) {
    const std::string model = "\xD2\xCA-20 \xC0\x30";  // ТК-20 А0
    sim.SetPacing(true);
    sim.WithProtocol([&](CSimProtocol& p) {
        p.BootArea().Settings().model = model;
        p.SetLine({.baudRate = 9600, .flowControl = 0});
    });
    const TempFile font("f.fnt", FontFileBytes("", Pattern(600, 4)));
    Choose(font.Path(), sim.DevicePath(), "9600");
    QSignalSpy texts(Control<CTextProgressCtrl>("progress"), &CTextProgressCtrl::TextChanged);
    Control<QPushButton>("loadButton")->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !notifier.Messages().empty(); }, 10000));
    EXPECT_TRUE(TextsShown(texts).contains("Загрузка шрифта в ТК-20 А0..."))
        << TextsShown(texts).join(" | ").toStdString();

    const TempFile program("p.bin", ProgramFileBytes("\xD2\xCA-10", 1, {{0, Pattern(4, 1)}}));
    Choose(program.Path(), sim.DevicePath(), "9600");
    EXPECT_EQ(LoadAndWait().text,
              "Данная модель контроллера не поддерживается (ТК-10).\nФайл с данными не пригоден "
              "для загрузки.\nЗагрузка будет прервана.");
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

// The message keeps its two lines and adds what the system said about the port.
TEST_F(LoaderWindowTest, PortThatDoesNotOpenSaysWhy) {
    const std::string notOpened =
        "Не удалось открыть порт.\nВозможно, он занят другим приложением.\n";
    const TempFile file("fw.bin", ProgramFileBytes("TQ-20 A0", 10, {{0, Pattern(16, 1)}}));
    Choose(file.Path(), "/dev/no-such-port");
    const Message missing = LoadAndWait();
    EXPECT_EQ(missing.text.rfind(notOpened + "/dev/no-such-port does not exist; ", 0), 0u)
        << missing.text;
    EXPECT_EQ(missing.icon, MessageIcon::Error);
    ExpectIdle();

    const int holder = ::open(sim.DevicePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    Choose(file.Path(), sim.DevicePath());
    const Message held = LoadAndWait();
    ::close(holder);
    EXPECT_EQ(held, (Message{notOpened + sim.DevicePath() + " is in use by another program.",
                             kCaption, MessageIcon::Error}));
    ExpectIdle();
}

struct WrongSpeedCase {
    const char* name;
    std::vector<std::uint8_t> file;
    unsigned printer;
    const char* chosen;
};

// A printer at another speed answers the boot request with noise: the message says the speed
// may be the cause. The same letters wrong later in a load are not blamed on the speed.
TEST_F(LoaderWindowTest, AtAWrongSpeedTheMessageNamesTheSpeed) {
    const WrongSpeedCase cases[] = {
        {"program", ProgramFileBytes("TQ-20 A0", 10, {{0, Pattern(16, 1)}}), 9600, "115200"},
        {"font", FontFileBytes("", Pattern(600, 4)), 115200, "9600"},
    };
    for (const WrongSpeedCase& c : cases) {
        sim.WithProtocol(
            [&](CSimProtocol& p) { p.SetLine({.baudRate = c.printer, .flowControl = 0}); });
        const TempFile file("data.bin", c.file);
        Choose(file.Path(), sim.DevicePath(), c.chosen);
        EXPECT_EQ(LoadAndWait(),
                  (Message{"Ошибка в принятой команде.\nЗагрузка будет прервана.\nВозможно, "
                           "скорость не совпадает со скоростью принтера: выберите ту, что "
                           "установлена в принтере.",
                           kCaption, MessageIcon::Error}))
            << c.name;
        ExpectIdle();
    }
}

// Whatever the file field names, the window answers with one message and keeps the choices of
// this run; the button press itself never waits for the file.
TEST_F(LoaderWindowTest, FileErrorsChangeNothing) {
    const TempFile badMagic("x.bin", {'m', 'y', 'b', 'i', 'n', 0, 0, 0});
    const ScratchFolder scratch;
    const char* cannotOpen = "Невозможно открыть файл с данными.";
    const char* badData = "Неверные данные в файле.\nЗагрузка невозможна.";
    const std::pair<std::string, const char*> cases[] = {
        {"/no/such/file.bin", cannotOpen},
        {badMagic.Path(), badData},
        {scratch.Path(), cannotOpen},
        {scratch.Fifo("font.fnt"), cannotOpen},
        {"/dev/zero", cannotOpen},
        {scratch.SparseFile("big.fnt", FontFileBytes("F", {1}), 100 << 20), badData},
    };
    for (const auto& [path, text] : cases) {
        Choose(path, sim.DevicePath(), "9600");
        EXPECT_EQ(LoadAndWait(), (Message{text, kCaption, MessageIcon::Error})) << path;
        ExpectIdle();
        EXPECT_EQ(Control<QComboBox>("baudCombo")->currentText(), QString("9600")) << path;
        EXPECT_EQ(Control<QComboBox>("portCombo")->currentText().toStdString(), sim.DevicePath())
            << path;
        EXPECT_EQ(Control<QLineEdit>("fileEdit")->text().toStdString(), path);
    }
    EXPECT_TRUE(sim.ReceivedBytes().empty());
}

// A read that the file system holds up neither blocks the window nor overtakes the read that
// the user started after it, and it may end after its reader is gone.
TEST(AsyncFileRead, AStuckReadNeitherBlocksNorOvertakesTheNextOne) {
    std::promise<void> release;
    const std::shared_future<void> gate = release.get_future().share();
    const auto reader = [gate](const std::string& path) {
        if (path == "stuck") {
            gate.wait();
        }
        DataFileResult result;
        result.file.model = path;
        return result;
    };
    QObject receiver;
    std::vector<std::string> delivered;
    auto read = std::make_unique<CAsyncFileRead>(
        &receiver, [&](DataFileResult result) { delivered.push_back(result.file.model); }, reader);
    read->Start("stuck");
    read->Start("quick");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !delivered.empty(); }, 3000));
    read->Start("stuck");
    read.reset();
    release.set_value();
    QTest::qWait(100);
    EXPECT_EQ(delivered, std::vector<std::string>{"quick"});
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

// Whether another program could take the port now.
bool PortIsFree(const std::string& device) {
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    const bool free = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (fd >= 0) {
        ::close(fd);
    }
    return free;
}

// The stop button ends a load in the boot conversation or among the blocks, while the printer's
// answer is still coming in: the port is free and the window idle when the one message comes
// up, nothing more goes to the printer, and the printer, left in its boot area, takes the file
// again.
TEST_F(LoaderWindowTest, StopEndsALoadAndTheFileLoadsAgain) {
    const std::string stopped =
        "Загрузка остановлена.\nПринтер остался в режиме загрузки: он не выйдет из загрузочной "
        "области, пока загрузка не пройдёт до конца.\nЧтобы восстановить принтер, загрузите файл "
        "ещё раз.";
    sim.SetPacing(true);
    sim.WithProtocol([](CSimProtocol& p) { p.SetLine({.baudRate = 9600, .flowControl = 0}); });
    std::vector<ProgramRecord> records;
    for (std::uint32_t i = 0; i < 4; ++i) {
        records.push_back({i * 256, Pattern(256, static_cast<std::uint8_t>(i + 7))});
    }
    const TempFile file("fw.bin", ProgramFileBytes("TQ-20 A0", 10, records));
    auto* stop = Control<QPushButton>("stopButton");
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    bool freeAtMessage = false;
    bool idleAtMessage = false;
    notifier.OnMessage([&] {
        freeAtMessage = PortIsFree(sim.DevicePath());
        idleAtMessage = !window->IsLoading() && !stop->isEnabled() &&
                        Control<QPushButton>("loadButton")->isEnabled() &&
                        !Control<CTextProgressCtrl>("progress")->isVisible();
    });
    // Bytes the printer has sent when the stop comes: the model reply under way, the second
    // block's echo under way.
    for (const std::size_t answered : {std::size_t{3}, std::size_t{400}}) {
        EXPECT_FALSE(stop->isEnabled());
        const std::size_t messages = notifier.Messages().size();
        const std::size_t sentBefore = sim.BytesSent();
        Choose(file.Path(), sim.DevicePath(), "9600");
        Control<QPushButton>("loadButton")->click();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return sim.BytesSent() >= sentBefore + answered; }, 10000));
        EXPECT_TRUE(stop->isEnabled());
        // As with the keyboard: the focus on the button, which then returns to the load button.
        stop->setFocus();
        stop->click();
        EXPECT_TRUE(Control<QPushButton>("loadButton")->hasFocus()) << answered;
        ASSERT_EQ(notifier.Messages().size(), messages + 1) << answered;
        EXPECT_EQ(notifier.Messages().back(), (Message{stopped, kCaption, MessageIcon::Warning}));
        EXPECT_TRUE(freeAtMessage) << answered;
        EXPECT_TRUE(idleAtMessage) << answered;
        ExpectIdle();
        QTest::qWait(100);
        const std::size_t heard = sim.ReceivedBytes().size();
        // Longer than the reply watch: no time-out follows, and the printer hears nothing more.
        QTest::qWait(500);
        EXPECT_EQ(notifier.Messages().size(), messages + 1) << answered;
        EXPECT_EQ(sim.ReceivedBytes().size(), heard) << answered;
    }
    EXPECT_EQ(LoadAndWait(), (Message{"Программа успешно загружена в принтер.", kCaption,
                                      MessageIcon::Information}));
    sim.WithProtocol([&](CSimProtocol& p) {
        for (const ProgramRecord& record : records) {
            EXPECT_TRUE(std::equal(record.data.begin(), record.data.end(),
                                   p.BootArea().Memory().begin() + record.address));
        }
    });
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
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->IsLoading(); }, 3000));
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
