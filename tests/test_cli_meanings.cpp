#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>

#include "CPrinterSim.h"
#include "CliRun.h"
#include "LoaderFiles.h"
#include "SettingEdit.h"
#include "SettingValues.h"
#include "SettingsTable.h"

namespace {

using Record = CSimProtocol::Record;

bool Contains(const Outcome& outcome, const std::string& text) {
    return outcome.output.find(text) != std::string::npos;
}

// Every byte the window's lists do not hold, or holds otherwise than it would save: a value
// outside the dots list, a style bit no page shows, an alignment of 0, a framing the port page
// does not show. On 9600 bit/s, even parity and both kinds of flow control.
constexpr Record kUnusual{20, 100, 6, 0xA7, 4, 2, 0, 4, 100, 2, 0x2B, 1, 72, 1, 7, 1, 6, 4, 0x30};
const char* const kUnusualLine = " --baud 9600 --parity even --flow both";

class CliMeanings : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim.Start());
        factory = sim.Current();
    }
    std::string Port() const { return " --port " + sim.DevicePath(); }
    void SetRecord(const Record& record) {
        sim.WithProtocol([&](CSimProtocol& p) { p.SetCurrent(record); });
    }

    CPrinterSim sim;
    Record factory{};
};

struct StoreCase {
    const char* assignments;
    std::size_t field;
    std::uint8_t before;
    std::uint8_t stored;
};

// Each meaning is stored as the window's page stores it, onto the byte as the printer holds it;
// nothing else changes. The port's changes reconnect at the new line and read back there.
TEST_F(CliMeanings, EachMeaningStoresTheBytesOfTheWindowsPage) {
    const StoreCase cases[] = {
        {"contrast=12", 0, 8, 12},
        {"alignment=center", 6, 1, 3},
        {"alignment=Right", 6, 1, 2},
        {"alignment=left", 6, 0, 1},
        {"bold=on", 3, 0x50, 0x51},
        {"bold=off", 3, 0x51, 0x50},
        {"bold=on", 3, 0x52, 0x51},  // the font page clears bit 1, which it does not show
        {"underline=on negative=on", 3, 0x50, 0x5C},
        {"fontHeight=quadruple", 3, 0x50, 0xD0},
        {"fontWidth=narrow", 3, 0x50, 0x40},
        {"fontHeight=low fontWidth=double bold=on", 3, 0x50, 0x21},
        {"fontMode=0 bold=on", 3, 0x50, 0x01},  // a byte, then a meaning on top of it
        {"whiteTopBottom=5", 10, 0x12, 0x2A},
        {"whiteLeftRight=7", 10, 0x12, 0x17},
        {"barcodeHri=on", 7, 0, 4},
        {"barcodeHri=off", 7, 4, 0},
        {"feedButton=off", 13, 0, 1},
        {"feedButton=on", 13, 1, 0},
        {"statusAutoReturn=on", 15, 0, 1},
        {"portBaud=9600", 16, 0, 6},
        {"flow=none", 18, 0x10, 0x00},
        {"portFlowControl=xonxoff", 18, 0x10, 0x20},
        {"portFraming=8e1", 17, 0, 4},
    };
    for (const StoreCase& c : cases) {
        Record before = factory;
        before[c.field] = c.before;
        SetRecord(before);
        const Outcome set = RunTool("settings set" + Port() + " " + c.assignments);
        Record expected = before;
        expected[c.field] = c.stored;
        EXPECT_EQ(set.exitCode, 0) << c.assignments << "\n" << set.output;
        EXPECT_EQ(sim.Current(), expected) << c.assignments << "\n" << set.output;
    }
}

// On a line with software flow control the white field's two numbers can pack into XON; the
// byte goes to the nearest one the field can hold, and the user is told.
TEST_F(CliMeanings, MeaningsKeepClearOfTheFlowCharacters) {
    Record before = factory;
    before[18] = 0x20;
    SetRecord(before);
    const Outcome set =
        RunTool("settings set" + Port() + " --flow xonxoff whiteTopBottom=2 whiteLeftRight=1");
    EXPECT_EQ(set.exitCode, 0) << set.output;
    EXPECT_EQ(sim.Current()[10], 0x12);
    EXPECT_TRUE(Contains(set, "barcodeQuietZone: сохранено 18 вместо 17")) << set.output;
}

struct RefusalCase {
    const char* assignment;
    const char* message;  // the whole sentence, or its start
};

// A meaning that cannot be is refused before the port opens, in one sentence that lists what
// the setting takes; the good ones reach the (missing) port.
TEST(CliMeaningValues, WrongMeaningsAreRefusedListingWhatTheSettingTakes) {
    const RefusalCase refused[] = {
        {"alignment=middle",
         "alignment cannot be \"middle\"; it takes left, right or center, or a byte: 1 left, 2 "
         "right or 3 centre.\n"},
        {"bold=yes", "bold cannot be \"yes\"; it takes off or on.\n"},
        {"fontHeight=2",
         "fontHeight cannot be \"2\"; it takes low, normal, double or quadruple.\n"},
        {"portBaud=12345",
         "portBaud cannot be \"12345\"; it takes 115200, 57600, 38400, 28800, 19200, 14400, "
         "9600, 4800, 2400 or 1200.\n"},
        {"portBaud=6", "portBaud cannot be \"6\""},
        {"whiteTopBottom=32", "whiteTopBottom cannot be \"32\"; it takes 0 to 31 lines.\n"},
        {"whiteLeftRight=-1", "whiteLeftRight cannot be \"-1\"; it takes 0 to 7 mm.\n"},
        {"flow=hardware",
         "flow cannot be \"hardware\"; it takes none, rtscts, xonxoff or both, or a byte: "},
        {"portFraming=7N1", "portFraming cannot be \"7N1\"; it takes 8N1, 8N2, 8O1, 8O2, 8E1 or "},
        {"feedButton=", "feedButton cannot be \"\"; it takes off or on.\n"},
        {"feedButtonDisabled=on", "feedButtonDisabled: \"on\" is not a number"},
        {"nosuch=on", "No such setting: nosuch; the settings are contrast, dotsCount, "},
        {"bold", "Expected FIELD=VALUE: bold\n"},
    };
    for (const RefusalCase& c : refused) {
        const Outcome outcome =
            RunTool(std::string("settings set --port /dev/no-such-port ") + c.assignment);
        EXPECT_EQ(outcome.exitCode, 6) << c.assignment << "\n" << outcome.output;
        EXPECT_EQ(outcome.output.rfind(c.message, 0), 0u) << c.assignment << "\n" << outcome.output;
        EXPECT_EQ(std::count(outcome.output.begin(), outcome.output.end(), '\n'), 1)
            << c.assignment << "\n"
            << outcome.output;
    }
    const Outcome unknown = RunTool("settings set --port /dev/no-such-port nosuch=on");
    EXPECT_TRUE(Contains(unknown, "(bytes) and feedButton, fontHeight, ")) << unknown.output;
    for (const char* good : {"flow=RTSCTS", "portFraming=8e2", "portBaud=1200",
                             "whiteLeftRight=0x7", "statusAutoReturn=1"}) {
        const Outcome outcome =
            RunTool(std::string("settings set --port /dev/no-such-port ") + good);
        EXPECT_EQ(outcome.exitCode, 3) << good << "\n" << outcome.output;
    }
}

// What read shows is what set takes: for a record the window could have saved, every entry of
// every meaning, given to set, stores the byte that was read.
TEST(CliMeaningValues, EveryMeaningReadIsAnAssignmentThatStoresItsByte) {
    const Record unusual = kUnusual;
    const PrinterSettings read = AsTheWindowSaves(PrinterSettings::FromBytes(unusual));
    const auto expected = read.ToBytes();
    PrinterSettings written = PrinterSettings::FromBytes(Record{});
    const auto json = SettingsMeaningJson(read);
    for (const auto& [field, entry] : json.items()) {
        for (const auto& [name, value] : entry["meaning"].items()) {
            const std::string text =
                name + "=" + (value.is_string() ? value.get<std::string>() : value.dump());
            std::string error;
            const auto edit = ParseEdit(text, error);
            ASSERT_TRUE(edit) << text << ": " << error;
            EXPECT_EQ(SettingName(edit->field), field) << text;
            ApplyEdit(*edit, written);
        }
    }
    auto bytes = written.ToBytes();
    bytes[14] = expected[14];  // no meaning: no command writes it
    EXPECT_EQ(bytes, expected);
}

TEST_F(CliMeanings, ReadShowsEachFieldsByteAndMeaningPageByPage) {
    SetRecord(kUnusual);
    const Outcome read = RunTool("settings read" + Port() + kUnusualLine);
    ASSERT_EQ(read.exitCode, 0) << read.output;
    EXPECT_EQ(read.output,
              "[Настройки принтера]\n"
              "statusAutoReturn = 1      on                        [x] Автоматический возврат "
              "состояния\n"
              "feedButtonDisabled = 1    feedButton=off            [ ] Активировать кнопку FEED\n"
              "\n"
              "[Параметры печати]\n"
              "contrast = 20             20                        Контраст печати: 20\n"
              "printSpeed = 6            6                         Скорость печати: 6\n"
              "dotsCount = 100           100 dots                  Количество прожигаемых точек: "
              "100 (the window saves 128)\n"
              "\n"
              "[Параметры шрифта]\n"
              "fontMode = 167            fontHeight=double         Высота: Двойная (the window "
              "saves 165)\n"
              "                          fontWidth=double          Ширина: Двойная\n"
              "                          bold=on                   [x] Жирный\n"
              "                          underline=on              [x] Подчеркнутый\n"
              "                          negative=off              [ ] Негативный\n"
              "\n"
              "[Позиционирование текста]\n"
              "alignment = 0             left                      Выравнивание: Влево (the "
              "window saves 1)\n"
              "leftIndent = 2            2 mm                      Отступ слева, мм: 2\n"
              "printFieldWidth = 72      72 mm                     Ширина области печати, мм: 72\n"
              "tabulation = 4            4 characters              Табуляция, символов: 4\n"
              "\n"
              "[Параметры штрих-кода]\n"
              "barcodeHeight = 100       100 lines                 Высота штрих-кода, линий: 100\n"
              "barcodeWidth = 2          2                         Ширина элемента штрих-кода: 2\n"
              "barcodeQuietZone = 43     whiteTopBottom=5 lines    Белое поле сверху/снизу, "
              "линий: 5\n"
              "                          whiteLeftRight=3 mm       Белое поле слева/справа, мм: "
              "3\n"
              "barcodeLeftIndent = 1     1 mm                      Отступ слева, мм: 1\n"
              "barcodeHri = 4            on                        [x] Печатать читаемые символы "
              "ШК\n"
              "\n"
              "[Параметры RS-232]\n"
              "portBaudIndex = 6         portBaud=9600 bit/s       Скорость: 9600\n"
              "portFlowControl = 48      both                      Управление потоком: "
              "RTS/CTS+Xon/Xoff\n"
              "portFraming = 4           8E1                       Стоп-бит, четность: 1,  Even "
              "(the window saves 0)\n"
              "\n"
              "reserved14 = 7            not used\n");
}

TEST_F(CliMeanings, ReadAsJsonGivesEveryFieldsByteAndMeaning) {
    SetRecord(kUnusual);
    const Outcome read = RunTool("settings read --json" + Port() + kUnusualLine);
    ASSERT_EQ(read.exitCode, 0) << read.output;
    const auto json = nlohmann::ordered_json::parse(read.output);
    ASSERT_EQ(json.size(), PrinterSettings::kSize);
    std::size_t field = 0;
    for (const auto& [name, entry] : json.items()) {
        EXPECT_EQ(name, SettingName(field)) << "record order";
        EXPECT_EQ(entry["byte"], kUnusual[field]) << name;
        EXPECT_TRUE(entry["meaning"].is_object()) << name;
        ++field;
    }
    EXPECT_EQ(json["fontMode"]["meaning"],
              nlohmann::ordered_json::parse(R"({"fontHeight": "double", "fontWidth": "double",
                                       "bold": "on", "underline": "on", "negative": "off"})"));
    EXPECT_EQ(json["portBaudIndex"]["meaning"],
              nlohmann::ordered_json::parse(R"({"portBaud": 9600})"));
    EXPECT_EQ(json["barcodeQuietZone"]["meaning"],
              nlohmann::ordered_json::parse(R"({"whiteTopBottom": 5, "whiteLeftRight": 3})"));
    EXPECT_EQ(json["alignment"]["meaning"],
              nlohmann::ordered_json::parse(R"({"alignment": "left"})"));
    EXPECT_EQ(json["reserved14"]["meaning"], nlohmann::ordered_json::object());
}

class CliSettingsDiff : public CliMeanings {
protected:
    std::string Save(const std::string& name) {
        const std::string path = scratch.Path() + "/" + name;
        const Outcome save = RunTool("settings save" + Port() + " " + path);
        EXPECT_EQ(save.exitCode, 0) << save.output;
        return path;
    }
    std::string Write(const std::string& name, const std::string& text) {
        const std::string path = scratch.Path() + "/" + name;
        std::ofstream(path) << text;
        return path;
    }

    ScratchFolder scratch;
};

TEST_F(CliSettingsDiff, TheSameSettingsPrintNothingAndEndWithZero) {
    const Outcome saved = RunTool("settings diff" + Port() + " " + Save("backup.json"));
    EXPECT_EQ(saved.exitCode, 0) << saved.output;
    EXPECT_EQ(saved.output, "");
}

TEST_F(CliSettingsDiff, DifferencesAreListedWithTheirMeaningsAndEndWithOne) {
    const std::string backup = Save("backup.json");
    ASSERT_EQ(
        RunTool("settings set" + Port() + " contrast=30 bold=on alignment=center tabulation=4")
            .exitCode,
        0);
    const Outcome diff = RunTool("settings diff" + Port() + " " + backup);
    EXPECT_EQ(diff.exitCode, 1) << diff.output;
    EXPECT_EQ(diff.output,
              "field       printer       file\n"
              "contrast    30            8\n"
              "fontMode    81: bold=on   80: bold=off\n"
              "tabulation  4 characters  8 characters\n"
              "alignment   3: center     1: left\n");
}

// What read --json prints is a backup too: restore-file and diff take its bytes.
TEST_F(CliSettingsDiff, AReadAsJsonRestoresAsASavedFileDoes) {
    const std::string backup = Write("read.json", RunTool("settings read --json" + Port()).output);
    ASSERT_EQ(RunTool("settings set" + Port() + " tabulation=4 negative=on").exitCode, 0);
    EXPECT_EQ(RunTool("settings diff" + Port() + " " + backup).exitCode, 1);
    const Outcome restored = RunTool("settings restore-file" + Port() + " " + backup);
    EXPECT_EQ(restored.exitCode, 0) << restored.output;
    EXPECT_EQ(sim.Current(), factory);
    EXPECT_EQ(RunTool("settings diff" + Port() + " " + backup).exitCode, 0);
}

// A bit no page shows tells the bytes apart, not the meanings: the row shows both in full.
// Only the fields a restore would write count: those named, less the one no command writes.
TEST_F(CliSettingsDiff, OnlyWhatARestoreWouldWriteIsCompared) {
    Record record = factory;
    record[3] = 0x52;
    record[14] = 9;
    SetRecord(record);
    const Outcome bit = RunTool("settings diff" + Port() + " " +
                                Write("font.json", R"({"fontMode": 80, "reserved14": 0})"));
    EXPECT_EQ(bit.exitCode, 1) << bit.output;
    EXPECT_TRUE(Contains(bit,
                         "fontMode  82: fontHeight=normal, fontWidth=normal, bold=off, "
                         "underline=off, negative=off  80: fontHeight=normal"))
        << bit.output;
    EXPECT_FALSE(Contains(bit, "reserved14")) << bit.output;
    const Outcome partial =
        RunTool("settings diff" + Port() + " " + Write("partial.json", R"({"contrast": 8})"));
    EXPECT_EQ(partial.exitCode, 0) << partial.output;
}

// A file that is no settings file is refused before the port opens, as restore-file refuses it.
TEST_F(CliSettingsDiff, ABadFileOrPortEndsAsTheOtherCommandsDo) {
    const std::pair<std::string, const char*> files[] = {
        {scratch.Path() + "/missing.json", "Cannot read"},
        {Write("broken.json", "{x"), "Not a settings file"},
        {Write("range.json", R"({"alignment": 9})"), "alignment cannot be 9"},
        {scratch.Path(), "not a regular file"},
    };
    for (const auto& [path, message] : files) {
        const Outcome diff = RunTool("settings diff" + Port() + " " + path);
        EXPECT_EQ(diff.exitCode, 6) << path << "\n" << diff.output;
        EXPECT_TRUE(Contains(diff, message)) << path << "\n" << diff.output;
    }
    EXPECT_TRUE(sim.ReceivedBytes().empty()) << "nothing goes to the printer";
    const std::string good = Write("good.json", R"({"contrast": 8})");
    EXPECT_EQ(RunTool("settings diff --port /dev/no-such-port " + good).exitCode, 3);
    EXPECT_EQ(RunTool("settings diff" + Port()).exitCode, 2) << "the file must be named";
}

}  // namespace
