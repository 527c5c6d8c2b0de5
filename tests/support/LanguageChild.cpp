#include "LanguageChild.h"

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "ToolRun.h"

namespace {

constexpr const char* kMarker = "caption: ";

// A caption of several lines travels as one, its line breaks written as "\n".
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

}  // namespace

void PrintCaption(const std::string& text) {
    std::printf("%s%s\n", kMarker, Replaced(text, "\n", "\\n").c_str());
    std::fflush(stdout);
}

std::vector<std::string> CaptionsInChild(const std::string& localeAssignments,
                                         const std::string& testName) {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const ToolOutcome outcome = RunCommand(
        "env -u LC_ALL -u LC_MESSAGES -u LC_CTYPE -u LANG -u LANGUAGE " + localeAssignments + " '" +
        self + "' --gtest_also_run_disabled_tests --gtest_filter='" + testName + "'");
    std::vector<std::string> captions;
    std::istringstream lines(outcome.output);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(kMarker, 0) == 0) {
            captions.push_back(Replaced(line.substr(std::string(kMarker).size()), "\\n", "\n"));
        }
    }
    if (outcome.exitCode != 0) {
        captions.push_back("child failed: " + outcome.output);
    }
    return captions;
}
