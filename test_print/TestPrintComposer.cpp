#include "TestPrintComposer.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <ctime>
#include <utility>

#include "CommandTable.h"
#include "Cp1251.h"
#include "FieldMarks.h"
#include "FontStore.h"
#include "SettingItems.h"
#include "SettingsSummary.h"

namespace {

constexpr std::array<std::pair<std::string_view, BarcodeSymbology>, 6> kSymbologies{{
    {"code128", kBarcodeCode128},
    {"ean13", kBarcodeEan13},
    {"ean8", kBarcodeEan8},
    {"code39", kBarcodeCode39},
    {"upca", kBarcodeUpcA},
    {"itf", kBarcodeItf},
}};

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Splits off the first word of the text.
std::string_view NextWord(std::string_view& text) {
    text = Trimmed(text);
    const auto end = text.find_first_of(" \t");
    const std::string_view word = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : Trimmed(text.substr(end));
    return word;
}

// The choice of a setting's list by its word on the command line; -1 when it has none.
int ChoiceOf(const char* setting, std::string_view word) {
    const SettingItem* item = FindSettingItem(setting);
    for (std::size_t i = 0; i < item->choices.size(); ++i) {
        if (item->choices[i].word == word) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::string Words(const char* setting) {
    std::string words;
    for (const SettingChoice& choice : FindSettingItem(setting)->choices) {
        words += (words.empty() ? "" : ", ") + choice.word;
    }
    return words;
}

// "@word", built by appending: GCC 12 at -O3 warns about "@" + a temporary string.
std::string At(std::string_view word) {
    std::string text(1, '@');
    text += word;
    return text;
}

bool Refuse(std::string& error, std::string text) {
    error = std::move(text);
    return false;
}

}  // namespace

CTestPrintComposer::CTestPrintComposer(const PrinterSettings& record, std::string date)
    : m_record(record), m_date(std::move(date)) {
    AppendCommand(m_bytes, CMD_INITIALISE);
}

bool CTestPrintComposer::AddLine(std::string_view line, std::string& error) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    if (line.empty() || line[0] != '@' || line.starts_with("@@")) {
        Text(line.starts_with("@@") ? line.substr(1) : line);
        return true;
    }
    std::string_view rest = line.substr(1);
    const std::string_view word = NextWord(rest);
    return Markup(word, rest, error);
}

bool CTestPrintComposer::Markup(std::string_view word, std::string_view rest, std::string& error) {
    if (word == "font") {
        return Font(rest, error);
    }
    if (word == "align") {
        return Align(rest, error);
    }
    if (word == "barcode") {
        return Barcode(rest, error);
    }
    if (word == "feed") {
        return Feed(rest, error);
    }
    if (!rest.empty() &&
        (word == "reset" || word == "marks" || word == "settings" || word == "date")) {
        return Refuse(error, At(word) + " takes nothing after it");
    }
    if (word == "reset") {
        AppendCommand(m_bytes, CMD_INITIALISE);
    } else if (word == "marks") {
        const auto marks = FieldMarks(m_record.leftIndent, m_record.printFieldWidth);
        m_bytes.insert(m_bytes.end(), marks.begin(), marks.end());
    } else if (word == "settings") {
        for (const std::string& text : SettingsSummary(m_record)) {
            Text(text);
        }
    } else if (word == "date") {
        Text(m_date);
    } else {
        return Refuse(error, "unknown markup " + At(word) +
                                 " (known: @font, @align, @barcode, @feed, @reset, @marks, "
                                 "@settings, @date; @@ prints an @)");
    }
    return true;
}

bool CTestPrintComposer::Font(std::string_view rest, std::string& error) {
    FontValues values;
    values.heightIndex = ChoiceOf("fontHeight", NextWord(rest));
    values.widthIndex = ChoiceOf("fontWidth", NextWord(rest));
    if (values.heightIndex < 0 || values.widthIndex < 0) {
        return Refuse(error, "@font takes a height (" + Words("fontHeight") + ") and a width (" +
                                 Words("fontWidth") + "), then bold, underline or negative");
    }
    for (std::string_view style = NextWord(rest); !style.empty(); style = NextWord(rest)) {
        if (style == "bold") {
            values.bold = true;
        } else if (style == "underline") {
            values.underline = true;
        } else if (style == "negative") {
            values.negative = true;
        } else {
            return Refuse(error, "@font: unknown style " + std::string(style) +
                                     " (bold, underline, negative)");
        }
    }
    PrinterSettings mode = m_record;
    StoreFont(values, mode);
    AppendCommand(m_bytes, CMD_SET_FONT_MODE, {mode.fontMode});
    m_fontChanged = true;
    return true;
}

bool CTestPrintComposer::Align(std::string_view rest, std::string& error) {
    const int choice = ChoiceOf("alignment", NextWord(rest));
    if (choice < 0 || !rest.empty()) {
        return Refuse(error, "@align takes one of " + Words("alignment"));
    }
    PrinterSettings aligned = m_record;
    FindSettingItem("alignment")->store(aligned, choice);
    AppendCommand(m_bytes, CMD_SET_ALIGNMENT, {aligned.alignment});
    m_alignmentChanged = true;
    return true;
}

bool CTestPrintComposer::Barcode(std::string_view rest, std::string& error) {
    const std::string_view name = NextWord(rest);
    const auto* found = std::find_if(kSymbologies.begin(), kSymbologies.end(),
                                     [name](const auto& entry) { return entry.first == name; });
    std::string data = Utf8ToCp1251(std::string(rest));
    // The code set comes first in CODE128 data, as the ESC/POS family expects it.
    if (found != kSymbologies.end() && found->second == kBarcodeCode128 && !data.empty() &&
        data[0] != '{') {
        data.insert(0, "{B");
    }
    if (found == kSymbologies.end() || data.empty() || data.size() > 255) {
        return Refuse(error,
                      "@barcode takes code128, ean13, ean8, code39, upca or itf, then the data "
                      "(1 to 255 characters)");
    }
    AppendCommand(m_bytes, CMD_PRINT_BARCODE,
                  {found->second, static_cast<std::uint8_t>(data.size())});
    m_bytes.insert(m_bytes.end(), data.begin(), data.end());
    return true;
}

bool CTestPrintComposer::Feed(std::string_view rest, std::string& error) {
    int rows = -1;
    const auto [end, code] = std::from_chars(rest.data(), rest.data() + rest.size(), rows);
    if (code != std::errc{} || end != rest.data() + rest.size() || rows < 0 || rows > 255) {
        return Refuse(error, "@feed takes a number of dot rows from 0 to 255");
    }
    AppendCommand(m_bytes, CMD_FEED_DOTS, {static_cast<std::uint8_t>(rows)});
    return true;
}

void CTestPrintComposer::Text(std::string_view text) {
    const std::string bytes = Utf8ToCp1251(std::string(text));
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    AppendCommand(m_bytes, CMD_LINE_FEED);
}

std::vector<std::uint8_t> CTestPrintComposer::Finish() {
    std::vector<std::uint8_t> bytes = m_bytes;
    if (m_fontChanged) {
        AppendCommand(bytes, CMD_SET_FONT_MODE, {m_record.fontMode});
    }
    if (m_alignmentChanged) {
        AppendCommand(bytes, CMD_SET_ALIGNMENT, {m_record.alignment});
    }
    return bytes;
}

bool ComposeTestPrint(std::string_view sample, const PrinterSettings& record,
                      const std::string& date, std::vector<std::uint8_t>& bytes,
                      std::string& error) {
    CTestPrintComposer composer(record, date);
    int number = 0;
    while (!sample.empty()) {
        ++number;
        const auto end = sample.find('\n');
        const std::string_view line = sample.substr(0, end);
        sample = end == std::string_view::npos ? std::string_view{} : sample.substr(end + 1);
        std::string reason;
        if (!composer.AddLine(line, reason)) {
            error = "line " + std::to_string(number) + ": " + reason;
            return false;
        }
    }
    bytes = composer.Finish();
    return true;
}

std::string TestPrintDate(std::chrono::system_clock::time_point when) {
    const std::time_t time = std::chrono::system_clock::to_time_t(when);
    std::array<char, 32> text{};
    const std::size_t length =
        std::strftime(text.data(), text.size(), "%Y-%m-%d %H:%M", std::localtime(&time));
    return {text.data(), length};
}
