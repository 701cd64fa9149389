#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "platform/FileSystem.h"

namespace twinfold::platform {

// How moving a file's data ended.
struct DataCopy {
    enum class End { Complete, Stopped, ReadFailed, WriteFailed };
    End end = End::Complete;
    std::uint64_t bytes = 0;
    Error error;
};

// Moves the first `size` bytes of `from` into the new file `to`, at the same
// offsets: only where `from` holds data, so that its holes stay holes, and
// `to` then has `size` bytes. With `size` 0, everything from `from`'s
// position to its end (files such as those of /proc report 0). A source that
// grows meanwhile is copied up to `size`; one that ends early ends the copy
// with fewer bytes. The kernel moves the data itself where the two files
// allow it; otherwise it goes through `buffer`. `goOn` is asked after every
// chunk with how far the copy has got; false stops the copy there. Only
// where `holes` says `from` may have some (it takes less room than its size)
// are its data regions looked up.
DataCopy CopyFileData(File& from, File& to, std::uint64_t size, bool holes, std::span<char> buffer,
                      const std::function<bool(std::uint64_t)>& goOn);

}  // namespace twinfold::platform
