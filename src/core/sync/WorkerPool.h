#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "sync/DirectoryJob.h"

namespace twinfold::sync {

// A few threads that each take one whole directory at a time, in the order
// the jobs came; several directories are written at once, while the files
// of one directory are written in their order (creating entries in one
// directory from several threads only makes them wait on each other).
class WorkerPool {
public:
    // `workers` threads, each with a copy buffer of `bufferSize` bytes.
    WorkerPool(int workers, std::size_t bufferSize);
    // Runs what is queued (a stopped run drops it at once), then ends.
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    void Submit(std::shared_ptr<DirectoryJob> job);

    // 2 to 4, as the machine has cores.
    static int DefaultSize();

private:
    void Work(std::size_t bufferSize);

    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::shared_ptr<DirectoryJob>> queue_;
    bool closing_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace twinfold::sync
