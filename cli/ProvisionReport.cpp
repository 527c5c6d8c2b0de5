#include "ProvisionReport.h"

#include <algorithm>
#include <cstdio>

namespace {

std::string Seconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", seconds);
    return text;
}

std::string Counts(const std::map<std::string, int>& counts) {
    std::string text;
    for (const auto& [name, count] : counts) {
        text += (text.empty() ? "" : ", ") + (name.empty() ? std::string("(none)") : name) + " " +
                std::to_string(count);
    }
    return text.empty() ? "none" : text;
}

}  // namespace

ProvisionTotals TotalsOf(const std::vector<ProvisionRecord>& records) {
    ProvisionTotals totals;
    double doneSeconds = 0;
    for (const ProvisionRecord& record : records) {
        ++totals.byResult[record.result];
        if (record.result == "failed") {
            ++totals.failuresByStep[record.FailedStep()];
        }
        if (record.result != "done") {
            continue;
        }
        ++totals.done;
        ++totals.byFirmware[record.firmwareAfter];
        doneSeconds += record.seconds;
        if (record.seconds >= totals.slowestSeconds) {
            totals.slowestSeconds = record.seconds;
            totals.slowestSerial = record.serial;
        }
    }
    totals.meanSeconds = totals.done == 0 ? 0 : doneSeconds / totals.done;
    return totals;
}

std::string TotalsText(const ProvisionTotals& totals) {
    int attempts = 0;
    for (const auto& [result, count] : totals.byResult) {
        attempts += count;
    }
    std::string text = "Attempts: " + std::to_string(attempts) + " (" + Counts(totals.byResult) +
                       ")\n" + "Done, by firmware version: " + Counts(totals.byFirmware) + "\n";
    if (totals.done > 0) {
        text += "Time of those done: mean " + Seconds(totals.meanSeconds) + ", slowest " +
                Seconds(totals.slowestSeconds) + " (" + totals.slowestSerial + ")\n";
    }
    return text + "Failures by step: " + Counts(totals.failuresByStep) + "\n";
}

std::string TotalsCsv(const ProvisionTotals& totals) {
    std::string csv = "kind,name,value\n";
    const auto rows = [&csv](const char* kind, const std::map<std::string, int>& counts) {
        for (const auto& [name, count] : counts) {
            csv += std::string(kind) + "," + name + "," + std::to_string(count) + "\n";
        }
    };
    rows("result", totals.byResult);
    rows("firmware", totals.byFirmware);
    rows("failedStep", totals.failuresByStep);
    char seconds[64];
    std::snprintf(seconds, sizeof seconds, "time,mean,%.2f\ntime,slowest,%.2f\n",
                  totals.meanSeconds, totals.slowestSeconds);
    return csv + seconds;
}
