#pragma once

#include <string>
#include <vector>

#include "ChannelConfig.h"
#include "JobProgress.h"
#include "ProvisionProfile.h"
#include "ProvisionRecord.h"

// What every printer of one run shares: the profile checked whole, its digest, the record files
// and what they held when the run began.
struct ProvisionPlan {
    ProvisionProfile profile;
    std::string digest;
    std::string recordPath;
    std::string csvPath;
    std::vector<ProvisionRecord> earlier;
    bool force = false;
    std::string station;
    std::string testPrintSample;
    std::string testPrintDate;
};

// One printer's provisioning on its port: the line, its information, the firmware and the font
// where they differ (or with force), the settings written and checked as "settings diff"
// compares them, the test print. Each step runs through the single command's own code and
// prints its words; the attempt is appended to the record file, synced, before the outcome is
// told. A stop asked for (Ctrl+C at a station) ends the attempt before its next step. The exit
// code of the step that failed, 0 when done or already done; the attempt as recorded in
// outcome.
int ProvisionPrinter(const ChannelConfig& port, const ProvisionPlan& plan, IJobProgress& progress,
                     ProvisionRecord& outcome);
