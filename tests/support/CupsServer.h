#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

// A private CUPS scheduler for one test: its own configuration, spool and socket in a scratch
// folder, never the machine's own service. Start() points CUPS_SERVER at it, and
// XDG_STATE_HOME at the scratch folder, for this process and the programs it starts.
class CupsServer {
public:
    CupsServer();
    CupsServer(const CupsServer&) = delete;
    CupsServer& operator=(const CupsServer&) = delete;
    ~CupsServer();

    // False, with the reason in Error(), when the scheduler cannot run here.
    bool Start();
    const std::string& Error() const { return m_error; }
    const std::filesystem::path& Folder() const { return m_folder; }
    std::filesystem::path JournalFolder() const;

    // A raw queue on the serial backend; the device is any path, the link is not resolved.
    bool AddSerialQueue(const std::string& name, const std::string& device);
    bool AddQueue(const std::string& name, const std::string& deviceUri);
    bool Submit(const std::string& queue, const std::string& text);
    bool Disable(const std::string& queue);
    // "idle", "printing" or "disabled", as lpstat says; empty when the queue is unknown.
    std::string State(const std::string& queue);
    bool WaitForState(const std::string& queue, const std::string& state, int timeoutMs);
    // How many jobs of the queue have not been printed yet.
    int PendingJobs(const std::string& queue);

private:
    bool WriteConfiguration();
    bool Answers();

    std::filesystem::path m_folder;
    pid_t m_pid = -1;
    std::string m_error;
};

// Runs a shell command line; its exit code, and its standard output and error together.
struct CommandResult {
    int exitCode = -1;
    std::string output;
};
CommandResult RunCommand(const std::string& commandLine);
