#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "PrinterSettings.h"

// The test receipt: the bytes sent to the printer for a sample text, read line by line. A line
// prints as it stands (UTF-8 in, Windows-1251 out); a line starting with '@' is markup:
//   @font HEIGHT WIDTH [bold] [underline] [negative]   the font mode, in the words of
//                                                      "settings set" (low normal double
//                                                      quadruple; narrow normal double ...)
//   @align left|center|right
//   @barcode code128|ean13|ean8|code39|upca|itf DATA
//   @feed N          N dot rows of paper (0 to 255)
//   @reset           back to the printer's own settings
//   @marks           a ruler across the print field
//   @settings        the printer's settings, page by page
//   @date            the date and time of the print
//   @@TEXT           prints "@TEXT"
// The receipt begins by going back to the printer's own settings, so the sample's first lines
// print as the printer is set up. The font and alignment commands also set the printer's
// current settings (not its stored ones), so the receipt ends by setting back the record's.
class CTestPrintComposer {
public:
    CTestPrintComposer(const PrinterSettings& record, std::string date);

    // False, with the reason, for a markup line that cannot be printed.
    bool AddLine(std::string_view line, std::string& error);
    std::vector<std::uint8_t> Finish();

private:
    bool Markup(std::string_view word, std::string_view rest, std::string& error);
    bool Font(std::string_view rest, std::string& error);
    bool Align(std::string_view rest, std::string& error);
    bool Barcode(std::string_view rest, std::string& error);
    bool Feed(std::string_view rest, std::string& error);
    void Text(std::string_view text);

    PrinterSettings m_record;
    std::string m_date;
    std::vector<std::uint8_t> m_bytes;
    bool m_fontChanged = false;
    bool m_alignmentChanged = false;
};

// The whole sample at once; false with "line N: reason" when a line cannot be printed.
bool ComposeTestPrint(std::string_view sample, const PrinterSettings& record,
                      const std::string& date, std::vector<std::uint8_t>& bytes,
                      std::string& error);

// The date and time as the receipt prints them: "2026-12-10 23:40", local time. Call it before
// any printer's thread starts: the C library's local time has one result for all threads.
std::string TestPrintDate(std::chrono::system_clock::time_point when);
