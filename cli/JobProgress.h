#pragma once

#include <cstddef>
#include <string>

// Where a long job shows how far it is: a bar on standard error for one port, a row of the
// board when several ports run at once.
class IJobProgress {
public:
    virtual ~IJobProgress() = default;
    // total: the amount of work, any size; 0 counts as done.
    virtual void Start(std::string title, std::size_t total) = 0;
    virtual void Show(std::size_t done) = 0;
    virtual void Retitle(std::string title) = 0;
    virtual void Finish() = 0;
};
