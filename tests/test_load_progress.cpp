// The load's progress in a log: a line for every tenth of the way, whatever steps the load
// reports it in.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "LoadProgress.h"

namespace {

struct StepsCase {
    const char* name;
    std::vector<std::size_t> shown;  // of 1000
    std::string lines;
};

std::string Lines(const std::vector<std::size_t>& shown) {
    std::FILE* log = std::tmpfile();
    CLoadProgress progress(log);
    progress.Start("Загрузка", 1000);
    for (std::size_t done : shown) {
        progress.Show(done);
    }
    progress.Finish();
    std::rewind(log);
    std::string text;
    for (int c = std::fgetc(log); c != EOF; c = std::fgetc(log)) {
        text += static_cast<char>(c);
    }
    std::fclose(log);
    return text;
}

TEST(LoadProgress, EveryTenthGetsItsLineEvenWhenPassedAtOnce) {
    const StepsCase cases[] = {
        {"one tenth at a time", {100, 150, 200}, "Загрузка 0%\nЗагрузка 10%\nЗагрузка 20%\n"},
        // A loaded machine looked only at 50 % and then at 92 %.
        {"tenths passed between two looks",
         {500, 920, 1000},
         "Загрузка 0%\nЗагрузка 10%\nЗагрузка 20%\nЗагрузка 30%\nЗагрузка 40%\nЗагрузка 50%\n"
         "Загрузка 60%\nЗагрузка 70%\nЗагрузка 80%\nЗагрузка 92%\nЗагрузка 100%\n"},
    };
    for (const StepsCase& c : cases) {
        EXPECT_EQ(Lines(c.shown), c.lines) << c.name;
    }
}

}  // namespace
