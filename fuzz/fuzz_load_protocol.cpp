// Drives the load protocol with a mixture of a correct printer's replies, random bytes, split
// replies and silence, in every state, and checks that each load ends exactly once.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "CLoadProtocol.h"
#include "SimProtocol.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

DataFile SmallFile(FuzzedDataProvider& input) {
    DataFile file;
    if (input.ConsumeBool()) {
        file.kind = kFontMagic;
        file.payload = Bytes(input.ConsumeIntegralInRange<std::size_t>(1, 700), 0x5A);
        return file;
    }
    file.kind = kProgramMagic;
    file.model = "TQ-20 A0";
    const int records = input.ConsumeIntegralInRange(0, 3);
    for (int i = 0; i < records; ++i) {
        const std::uint8_t length = input.ConsumeIntegral<std::uint8_t>();
        const Bytes header{static_cast<std::uint8_t>(i),
                           0,
                           input.ConsumeIntegralInRange<std::uint8_t>(0, 2),
                           length,
                           0,
                           1,
                           2,
                           3};
        file.payload.insert(file.payload.end(), header.begin(), header.end());
        file.payload.insert(file.payload.end(), length, static_cast<std::uint8_t>(i));
    }
    return file;
}

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    CLoadData file(SmallFile(input));
    CLoadProtocol loader(file);
    CSimProtocol printer;
    CLoadProtocol::Step step =
        file.File().IsProgram() ? loader.StartProgramLoad() : loader.StartFontLoad();
    int endings = 0;
    for (int turn = 0; turn < 2000; ++turn) {
        for (LoadMessage message : step.messages) {
            endings += EndsLoad(message) ? 1 : 0;
        }
        Require(endings <= 1);
        Require(step.request.size() <= 5 + kMaxBlockLength);
        const Bytes truth = step.request.empty() ? Bytes{} : printer.Feed(step.request).reply;
        if (!loader.IsBusy() || input.remaining_bytes() == 0) {
            break;
        }
        switch (input.ConsumeIntegralInRange(0, 3)) {
            case 0:
                step = loader.OnBytes(truth);
                break;
            case 1:
                step = loader.OnBytes(input.ConsumeBytes<std::uint8_t>(
                    input.ConsumeIntegralInRange<std::size_t>(0, 300)));
                break;
            case 2: {
                const std::size_t cut = input.ConsumeIntegralInRange<std::size_t>(0, truth.size());
                step = loader.OnBytes(Bytes(truth.begin(), truth.begin() + static_cast<long>(cut)));
                break;
            }
            default:
                step = loader.OnSilence();
                break;
        }
    }
    if (loader.IsBusy()) {
        step = loader.OnSilence();
        for (LoadMessage message : step.messages) {
            endings += EndsLoad(message) ? 1 : 0;
        }
    }
    Require(endings == 1);
    return 0;
}
