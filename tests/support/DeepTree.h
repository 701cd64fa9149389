#pragma once

#include <sys/resource.h>

#include <string>

#include "platform/DirectoryHandle.h"

namespace twinfold::test {

// Makes `depth` nested directories `name` below the directory `root`, one
// handle at a time: the paths are far longer than any path call takes.
// Returns the deepest, for files to be put there.
inline platform::DirectoryHandle MakeDeepTree(const std::string& root, int depth,
                                              const std::string& name) {
    auto level = platform::DirectoryHandle::Open(root);
    for (int i = 0; level && i < depth; ++i) level = level.value().MakeChild(name, 0755);
    return level ? std::move(level).value() : platform::DirectoryHandle{};
}

// Lowers the limit of open descriptors for as long as it lives.
class DescriptorLimit {
public:
    explicit DescriptorLimit(rlim_t limit) {
        getrlimit(RLIMIT_NOFILE, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = limit;
        setrlimit(RLIMIT_NOFILE, &lowered);
    }
    DescriptorLimit(const DescriptorLimit&) = delete;
    DescriptorLimit& operator=(const DescriptorLimit&) = delete;
    ~DescriptorLimit() { setrlimit(RLIMIT_NOFILE, &saved_); }

private:
    rlimit saved_{};
};

}  // namespace twinfold::test
