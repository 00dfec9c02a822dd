#include "platform/HelperProcess.h"

#include <cerrno>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {

namespace {

// Waits until `fd` is ready for `events` or the deadline passes.
bool WaitReady(int fd, short events, HelperProcess::Deadline deadline)
{
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd watched{fd, events, 0};
        const int ready = ::poll(&watched, 1, static_cast<int>(left.count()));
        if (ready > 0) return true;
        if (ready < 0 && errno != EINTR) return false;
    }
}

// Moves `length` bytes with `step` (a send or receive that does not block),
// waiting whenever the socket is not ready.
template <typename Step>
bool Transfer(int fd, short events, char *bytes, std::size_t length, HelperProcess::Deadline deadline, Step step)
{
    while (length > 0) {
        const ssize_t moved = step(fd, bytes, length);
        if (moved == 0) return false;
        if (moved > 0)
            bytes += moved, length -= static_cast<std::size_t>(moved);
        else if (errno == EAGAIN ? !WaitReady(fd, events, deadline) : errno != EINTR)
            return false;
    }
    return true;
}

}  // namespace

HelperProcess::HelperProcess(std::string program, std::size_t addressSpace)
    : program_(std::move(program)), addressSpace_(addressSpace)
{
}

HelperProcess::~HelperProcess() { Stop(); }

bool HelperProcess::Start()
{
    ForgetInheritedChild();
    if (child_ > 0) return true;
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return false;
    socket_.emplace(ends[0]);
    const Descriptor childEnd(ends[1]);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, childEnd.Get(), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, childEnd.Get(), STDOUT_FILENO);
    char *arguments[] = {program_.data(), nullptr};
    pid_t child = -1;
    const int failed = ::posix_spawn(&child, program_.c_str(), &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    // The limits hold before the child is sent anything.
    const rlimit memory{addressSpace_, addressSpace_}, noCore{0, 0};
    if (failed || ::prlimit(child, RLIMIT_AS, &memory, nullptr) != 0 || ::prlimit(child, RLIMIT_CORE, &noCore, nullptr) != 0) {
        if (!failed) ::kill(child, SIGKILL), ::waitpid(child, nullptr, 0);
        socket_.reset();
        return false;
    }
    child_ = child;
    owner_ = ::getpid();
    return true;
}

void HelperProcess::Stop()
{
    ForgetInheritedChild();
    if (child_ <= 0) return;
    socket_.reset();
    ::kill(child_, SIGKILL);
    while (::waitpid(child_, nullptr, 0) < 0 && errno == EINTR) {
    }
    child_ = -1;
}

void HelperProcess::ForgetInheritedChild()
{
    if (child_ <= 0 || owner_ == ::getpid()) return;
    socket_.reset();
    child_ = -1;
}

bool HelperProcess::Send(const void *bytes, std::size_t length, Deadline deadline)
{
    return child_ > 0 &&
           Transfer(socket_->Get(), POLLOUT, static_cast<char *>(const_cast<void *>(bytes)), length, deadline,
                    [](int fd, char *at, std::size_t left) { return ::send(fd, at, left, MSG_DONTWAIT | MSG_NOSIGNAL); });
}

bool HelperProcess::Receive(void *bytes, std::size_t length, Deadline deadline)
{
    return child_ > 0 && Transfer(socket_->Get(), POLLIN, static_cast<char *>(bytes), length, deadline,
                                  [](int fd, char *at, std::size_t left) { return ::recv(fd, at, left, MSG_DONTWAIT); });
}

}  // namespace platform
