#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// tq20-sim started as its own program with its options, found through its link; stopped (as
// a printer is unplugged) with the object.
class SimProgram {
public:
    SimProgram(const std::string& program, const std::string& link,
               std::vector<std::string> options);
    ~SimProgram();
    SimProgram(const SimProgram&) = delete;
    SimProgram& operator=(const SimProgram&) = delete;

    // However slowly the simulator started.
    bool WaitForLink() const;
    std::string Port() const { return "--port " + m_link; }

private:
    std::string m_link;
    pid_t m_child = -1;
};
