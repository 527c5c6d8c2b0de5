#pragma once

#include <vector>

#include "ChannelConfig.h"
#include "ProvisionRun.h"

// A station that runs all day: on every port at once it waits for a printer to answer, provisions
// it, says "done, next" with the terminal's bell, waits for it to go away (its device vanishes
// or three status requests in a row go unanswered) and starts again, until Ctrl+C, which ends
// it after the step that runs. A summary per port (done, failed, already done, mean time) is
// printed and appended to the record. 0, or 41 when a record could not be written.
int RunStation(const std::vector<ChannelConfig>& ports, const ProvisionPlan& plan);
