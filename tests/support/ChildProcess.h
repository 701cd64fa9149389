#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace twinfold::test {

// A program started as a separate process for a test: standard input from
// /dev/null, standard output and standard error into files. Waited for (and
// killed first, if still running) when the object goes.
class ChildProcess {
public:
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                 const std::string& outPath, const std::string& errPath);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    // Sends SIGINT, as Ctrl+C on a terminal does.
    void Interrupt() { Send(2); }
    // Sends signal `number` (SIGTERM is 15, SIGHUP 1).
    void Send(int number);
    // Waits at most `limit`; a program still running then is killed and
    // -1 comes back, so that a test that would hang fails instead.
    int WaitAtMost(std::chrono::milliseconds limit);
    // The process id while it runs, else -1.
    int pid() const { return pid_; }
    // Waits for the end; the exit status, 128 + the signal when a signal
    // ended it, -1 when it could not be waited for.
    int Wait();
    // True when a signal, not the program itself, ended it.
    bool signalled() const { return signalled_; }

private:
    int Finished(int raw);

    int pid_ = -1;
    int status_ = -1;
    bool signalled_ = false;
};

// Runs `program` to its end and returns its exit status.
int RunProcess(const std::string& program, const std::vector<std::string>& arguments,
               const std::string& outPath, const std::string& errPath);

}  // namespace twinfold::test
