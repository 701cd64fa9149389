#include "sync/WorkerPool.h"

#include <algorithm>

namespace twinfold::sync {

WorkerPool::WorkerPool(int workers, std::size_t bufferSize) {
    for (int i = 0; i < workers; ++i)
        threads_.emplace_back([this, bufferSize] { Work(bufferSize); });
}

WorkerPool::~WorkerPool() {
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    ready_.notify_all();
    for (auto& thread : threads_) thread.join();
}

void WorkerPool::Submit(std::shared_ptr<DirectoryJob> job) {
    job->MarkQueued();
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(job));
    }
    ready_.notify_one();
}

int WorkerPool::DefaultSize() {
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 2u, 4u));
}

void WorkerPool::Work(std::size_t bufferSize) {
    std::vector<char> buffer(bufferSize);
    for (;;) {
        std::shared_ptr<DirectoryJob> job;
        {
            std::unique_lock lock(mutex_);
            ready_.wait(lock, [this] { return closing_ || !queue_.empty(); });
            if (queue_.empty()) return;
            job = std::move(queue_.front());
            queue_.pop_front();
        }
        job->Run(buffer);
    }
}

}  // namespace twinfold::sync
