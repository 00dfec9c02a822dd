#pragma once

#include "platform/Descriptor.h"

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

namespace platform {

// A helper program run as a child process that the caller talks to over one
// socket, the child's standard input and output. The child runs with its
// address space limited and writes no core file; it is ended by Stop() or
// when this object goes.
class HelperProcess {
public:
    using Deadline = std::chrono::steady_clock::time_point;

    HelperProcess(std::string program, std::size_t addressSpace);
    ~HelperProcess();
    HelperProcess(const HelperProcess &) = delete;
    HelperProcess &operator=(const HelperProcess &) = delete;

    // Starts the child unless it runs; false when it cannot be started.
    bool Start();
    // Kills the child and waits for its end.
    void Stop();

    // Each is false when the child has gone or the deadline passed first.
    bool Send(const void *bytes, std::size_t length, Deadline deadline);
    bool Receive(void *bytes, std::size_t length, Deadline deadline);

private:
    // A child inherited through fork() belongs to the parent: it is dropped.
    void ForgetInheritedChild();

    std::string program_;
    std::size_t addressSpace_;
    pid_t child_ = -1;
    pid_t owner_ = -1;
    std::optional<Descriptor> socket_;
};

}  // namespace platform
