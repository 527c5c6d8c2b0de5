// tq20 provision check PROFILE
#include <memory>

#include "Console.h"
#include "ExitCodes.h"
#include "ProfileDigest.h"
#include "ProvisionProfile.h"
#include "SettingItems.h"
#include "Verbs.h"

namespace {

std::string LineText(const ProvisionProfile& profile) {
    if (profile.findLine) {
        return "found on each port by the line search (as tq20 detect)";
    }
    const ChannelConfig line = LineAt({}, profile.line);
    return std::to_string(line.baudRate) + " bit/s, framing " +
           FindSettingItem("portFraming")
               ->choices[static_cast<std::size_t>(profile.line.framingIndex)]
               .word +
           ", flow control " +
           FindSettingItem("portFlowControl")
               ->choices[static_cast<std::size_t>(profile.line.flowIndex)]
               .word;
}

std::string SettingsText(const ProvisionProfile& profile) {
    std::string names;
    for (const std::size_t field : profile.settingsFields) {
        for (const SettingItem* item : ItemsOfField(field)) {
            names += (names.empty() ? "" : ", ") + item->name;
        }
    }
    for (const SettingEdit& edit : profile.settingsEdits) {
        names += (names.empty() ? "" : ", ") +
                 (edit.item != nullptr ? edit.item->name : "field " + std::to_string(edit.field));
    }
    return (profile.settingsPath.empty() ? "" : profile.settingsPath + ": ") + names;
}

// What a run does to each printer, in order.
void PrintPlan(const ProvisionProfile& profile, const std::string& digest) {
    Out() << "Profile " << profile.path << " (digest " << digest << ")\n"
          << "Model " << profile.model << "\n"
          << "For each printer:\n"
          << "  line: " << LineText(profile) << "\n"
          << "  information: serial number, firmware version and font\n";
    if (!profile.firmwarePath.empty()) {
        Out() << "  firmware: " << profile.firmwarePath << ", loaded unless the printer reports "
              << profile.firmwareVersion << "\n";
    }
    if (!profile.fontPath.empty()) {
        Out() << "  font: " << profile.fontPath << ", loaded unless the printer reports "
              << profile.fontName << "\n";
    }
    if (profile.HasSettings()) {
        Out() << "  settings: " << SettingsText(profile) << ", written where they differ\n"
              << "  verify: the settings read back as tq20 settings diff compares them\n";
    }
    if (profile.testPrint) {
        Out() << "  test print\n";
    }
    Out() << "A printer whose serial number has a record of success with this digest is skipped "
             "unless --force.\n";
}

int RunProvisionCheck(const std::string& path) {
    std::string errors;
    const auto profile = ReadProvisionProfile(path, errors);
    std::string error;
    const auto digest = profile ? DigestOfFiles(profile->Files(), error) : std::nullopt;
    if (!digest) {
        Err() << errors << error << (error.empty() ? "" : "\n");
        return kProvisionBadProfile;
    }
    PrintPlan(*profile, *digest);
    return kProvisionDone;
}

}  // namespace

void AddProvisionCheckVerb(CCommandLine& commandLine) {
    auto path = std::make_shared<std::string>();
    CLI::App* check = commandLine.AddProvisionVerb(
        "check", "check a profile and its files, and print what a run would do");
    check->add_option("PROFILE", *path, "the provisioning profile (JSON)")->required();
    check->footer(
        "Exit codes: 0 the profile can be used; 40 it cannot (every reason is "
        "printed).\n" +
        std::string(kUsageExitCodeHelp));
    commandLine.Register(
        check, CCommandLine::Printers::None,
        [path](const CCommandLine::Lines&, bool) { return RunProvisionCheck(*path); });
}
