#include "TestPrintSample.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "BuiltInSample.h"
#include "Console.h"
#include "FactorySettings.h"
#include "TestPrintComposer.h"

bool ReadTestPrintSample(const std::string& path, std::string& sample) {
    if (path.empty()) {
        sample = BuiltInSample(SampleLanguage::Russian);
        return true;
    }
    std::ifstream file(path, std::ios::binary);
    if (file) {
        sample.assign(std::istreambuf_iterator<char>(file), {});
    }
    if (!file.is_open() || file.bad()) {
        Err() << "The sample " << path << " cannot be read.\n";
        return false;
    }
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ComposeTestPrint(sample, kFactorySettings, "", bytes, error)) {
        Err() << path << ": " << error << '\n';
        return false;
    }
    return true;
}
