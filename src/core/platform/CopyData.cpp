// Moving a file's bytes: in the kernel where it can, through a buffer where
// it cannot.
#include "platform/CopyData.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace twinfold::platform {
namespace {

// A kernel copy in pieces this large keeps a cancel within reach even on
// slow disks, and costs one call per piece.
constexpr std::uint64_t kKernelChunk = 8u << 20;

// Errors that belong to the writing side; the rest are blamed on the source.
bool IsWriteError(int code) {
    return code == ENOSPC || code == EDQUOT || code == EFBIG || code == EROFS;
}

// The kernel cannot copy between these two files (other volumes, special
// files, an old kernel): the buffer takes over.
bool KernelCopyRefused(int code) {
    return code == EXDEV || code == EINVAL || code == ENOSYS || code == EOPNOTSUPP || code == EBADF;
}

enum class Kernel { Done, Refused };

Kernel CopyInKernel(File& from, File& to, std::uint64_t size, DataCopy& copy,
                    const std::function<bool(std::uint64_t)>& goOn) {
    while (copy.bytes < size) {
        const auto piece = static_cast<std::size_t>(std::min(size - copy.bytes, kKernelChunk));
        ssize_t n = copy_file_range(from.descriptor(), nullptr, to.descriptor(), nullptr, piece, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && copy.bytes == 0 && KernelCopyRefused(errno)) return Kernel::Refused;
        if (n < 0) {
            copy.end = IsWriteError(errno) ? DataCopy::End::WriteFailed : DataCopy::End::ReadFailed;
            copy.error = FromErrno(errno);
            return Kernel::Done;
        }
        if (n == 0) return Kernel::Done;  // the source ended early
        copy.bytes += static_cast<std::uint64_t>(n);
        if (!goOn(copy.bytes)) {
            copy.end = DataCopy::End::Stopped;
            return Kernel::Done;
        }
    }
    return Kernel::Done;
}

void CopyThroughBuffer(File& from, File& to, std::uint64_t size, std::span<char> buffer,
                       DataCopy& copy, const std::function<bool(std::uint64_t)>& goOn) {
    for (;;) {
        std::span<char> room = buffer;
        if (size != 0) {
            if (copy.bytes >= size) return;
            room = room.first(
                static_cast<std::size_t>(std::min<std::uint64_t>(room.size(), size - copy.bytes)));
        }
        auto got = from.Read(room);
        if (!got) {
            copy.end = DataCopy::End::ReadFailed;
            copy.error = got.error();
            return;
        }
        if (got.value() == 0) return;
        if (Status written = to.Write(room.first(got.value())); !written) {
            copy.end = DataCopy::End::WriteFailed;
            copy.error = written.error();
            return;
        }
        copy.bytes += got.value();
        if (!goOn(copy.bytes)) {
            copy.end = DataCopy::End::Stopped;
            return;
        }
    }
}

}  // namespace

DataCopy CopyFileData(File& from, File& to, std::uint64_t size, std::span<char> buffer,
                      const std::function<bool(std::uint64_t)>& goOn) {
    DataCopy copy;
    if (size != 0 && CopyInKernel(from, to, size, copy, goOn) == Kernel::Done) return copy;
    CopyThroughBuffer(from, to, size, buffer, copy, goOn);
    return copy;
}

}  // namespace twinfold::platform
