// Tests start the console program for real; this is their only process code.
#include "support/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <thread>

extern char** environ;

namespace twinfold::test {

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& outPath, const std::string& errPath) {
    std::vector<std::string> all{program};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& arg : all) argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
        pid_ = pid;
    }
    posix_spawn_file_actions_destroy(&actions);
}

ChildProcess::~ChildProcess() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    Wait();
}

void ChildProcess::Send(int number) {
    if (pid_ > 0) kill(pid_, number);
}

int ChildProcess::WaitAtMost(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (pid_ > 0 && std::chrono::steady_clock::now() < deadline) {
        int raw = 0;
        if (waitpid(pid_, &raw, WNOHANG) == pid_) return Finished(raw);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (pid_ <= 0) return status_;
    kill(pid_, SIGKILL);
    Wait();
    return status_ = -1;
}

int ChildProcess::Wait() {
    if (pid_ <= 0) return status_;
    int raw = 0;
    pid_t done;
    do {
        done = waitpid(pid_, &raw, 0);
    } while (done < 0 && errno == EINTR);
    if (done < 0) {
        pid_ = -1;
        return status_ = -1;
    }
    return Finished(raw);
}

int ChildProcess::Finished(int raw) {
    pid_ = -1;
    if (WIFEXITED(raw)) return status_ = WEXITSTATUS(raw);
    signalled_ = WIFSIGNALED(raw);
    return status_ = signalled_ ? 128 + WTERMSIG(raw) : -1;
}

int RunProcess(const std::string& program, const std::vector<std::string>& arguments,
               const std::string& outPath, const std::string& errPath) {
    ChildProcess child(program, arguments, outPath, errPath);
    return child.Wait();
}

}  // namespace twinfold::test
