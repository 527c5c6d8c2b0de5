#pragma once

#include <map>
#include <string>
#include <vector>

#include "ProvisionRecord.h"

// What a record file adds up to: the attempts by result, the printers done by the firmware they
// left with, the times of the attempts that were done, and the failures by step.
struct ProvisionTotals {
    std::map<std::string, int> byResult;
    std::map<std::string, int> byFirmware;
    std::map<std::string, int> failuresByStep;
    int done = 0;
    double meanSeconds = 0;
    double slowestSeconds = 0;
    std::string slowestSerial;
};

ProvisionTotals TotalsOf(const std::vector<ProvisionRecord>& records);
// For people: a few lines.
std::string TotalsText(const ProvisionTotals& totals);
// For spreadsheets: "kind,name,value" lines under a header.
std::string TotalsCsv(const ProvisionTotals& totals);
