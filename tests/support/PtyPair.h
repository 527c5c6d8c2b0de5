#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

// A bare pseudo-terminal for tests that play the printer byte by byte: the code under test
// opens SlavePath(); the test writes and reads on the master side.
class PtyPair {
public:
    PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;
    ~PtyPair();

    const std::string& SlavePath() const { return m_slavePath; }
    int Master() const { return m_master; }

    // Writes the bytes and waits until the host side has read them all, so the next chunk
    // arrives in a read of its own.
    void WriteChunk(const std::vector<std::uint8_t>& bytes);
    // Everything the host wrote within the limit, at least minimum bytes if they come.
    std::vector<std::uint8_t> ReadFromHost(std::size_t minimum, std::chrono::milliseconds limit);
    // Stops the host's output as a terminal stop (^S) would: its writes wait from now on.
    void StopHostOutput();
    // Closes the master side: the host sees a hang-up.
    void HangUp();

private:
    int m_master = -1;
    int m_observer = -1;  // a second slave descriptor, to see how much input is still unread
    std::string m_slavePath;
};
