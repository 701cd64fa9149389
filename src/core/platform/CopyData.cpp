// Moving a file's bytes: in the kernel where it can, through a buffer where
// it cannot, and only where the source holds data, so holes stay holes.
#include "platform/CopyData.h"

#include <sys/stat.h>
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

void Fail(DataCopy& copy, DataCopy::End end, int code) {
    copy.end = end;
    copy.error = FromErrno(code);
}

// A stretch of the source that holds data: [start, end).
struct Region {
    std::uint64_t start = 0;
    std::uint64_t end = 0;
};

// The next data at or after `offset`, within the first `size` bytes; a
// region starting at `size` when only holes follow. A file system that
// cannot tell holes shows the whole rest as data.
Region NextData(int fd, std::uint64_t offset, std::uint64_t size) {
    const auto at = static_cast<off_t>(offset);
    off_t hole = lseek(fd, at, SEEK_HOLE);
    if (hole < 0) return errno == ENXIO ? Region{size, size} : Region{offset, size};
    if (hole > at) return {offset, std::min<std::uint64_t>(static_cast<std::uint64_t>(hole), size)};
    off_t data = lseek(fd, at, SEEK_DATA);
    if (data < 0) return errno == ENXIO ? Region{size, size} : Region{offset, size};
    const auto start = static_cast<std::uint64_t>(data);
    if (start >= size) return {size, size};
    hole = lseek(fd, data, SEEK_HOLE);
    const auto end = hole > data ? static_cast<std::uint64_t>(hole) : size;
    return {start, std::min(end, size)};
}

// Copies one data region piece by piece, at the same offsets in both files.
class RegionMover {
public:
    RegionMover(File& from, File& to, std::span<char> buffer, DataCopy& copy,
                const std::function<bool(std::uint64_t)>& goOn)
        : from_(from.descriptor()),
          to_(to.descriptor()),
          buffer_(buffer),
          copy_(copy),
          goOn_(goOn) {}

    // False when the copy ends here: failed, stopped, or the source ended.
    bool Move(Region region) {
        for (std::uint64_t at = region.start; at < region.end;) {
            const std::uint64_t left = region.end - at;
            const ssize_t n = kernel_ ? InKernel(at, left) : ThroughBuffer(at, left);
            if (n < 0 && !kernel_) continue;  // the kernel refused: once more by buffer
            if (n <= 0) {
                if (n == 0) copy_.bytes = at;  // the source ended early
                return false;
            }
            at += static_cast<std::uint64_t>(n);
            copy_.bytes = at;
            if (!goOn_(copy_.bytes)) {
                copy_.end = DataCopy::End::Stopped;
                return false;
            }
        }
        return true;
    }

private:
    // Bytes moved, 0 at the source's end, -1 on a failure (recorded) or when
    // the kernel refused its first piece (then the buffer serves from now on).
    ssize_t InKernel(std::uint64_t at, std::uint64_t left) {
        auto in = static_cast<loff_t>(at);
        auto out = in;
        const auto piece = static_cast<std::size_t>(std::min(left, kKernelChunk));
        ssize_t n;
        do {
            n = copy_file_range(from_, &in, to_, &out, piece, 0);
        } while (n < 0 && errno == EINTR);
        if (n < 0 && !moved_ && KernelCopyRefused(errno)) {
            kernel_ = false;
            return -1;
        }
        if (n < 0) {
            Fail(copy_,
                 IsWriteError(errno) ? DataCopy::End::WriteFailed : DataCopy::End::ReadFailed,
                 errno);
            return 0;
        }
        moved_ = true;
        return n;
    }

    ssize_t ThroughBuffer(std::uint64_t at, std::uint64_t left) {
        const auto room = static_cast<std::size_t>(std::min<std::uint64_t>(buffer_.size(), left));
        ssize_t got;
        do {
            got = pread(from_, buffer_.data(), room, static_cast<off_t>(at));
        } while (got < 0 && errno == EINTR);
        if (got < 0) Fail(copy_, DataCopy::End::ReadFailed, errno);
        if (got <= 0) return 0;
        for (ssize_t done = 0; done < got;) {
            ssize_t n = pwrite(to_, buffer_.data() + done, static_cast<std::size_t>(got - done),
                               static_cast<off_t>(at) + done);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                Fail(copy_, DataCopy::End::WriteFailed, errno);
                return 0;
            }
            done += n;
        }
        return got;
    }

    int from_;
    int to_;
    std::span<char> buffer_;
    DataCopy& copy_;
    const std::function<bool(std::uint64_t)>& goOn_;
    bool kernel_ = true;
    bool moved_ = false;
};

// The holes after the last data: the target is given its full length, unless
// the source shrank meanwhile (then the copy is short, as it is).
void EndWithHole(File& from, File& to, std::uint64_t size, DataCopy& copy) {
    struct stat st {};
    if (fstat(from.descriptor(), &st) != 0) return Fail(copy, DataCopy::End::ReadFailed, errno);
    const auto now = static_cast<std::uint64_t>(st.st_size);
    if (now < size) {
        copy.bytes = std::max(copy.bytes, now);
        return;
    }
    if (ftruncate(to.descriptor(), static_cast<off_t>(size)) != 0) {
        return Fail(copy, DataCopy::End::WriteFailed, errno);
    }
    copy.bytes = size;
}

// Only the source's data regions are written; the target is then given the
// full length, so every hole, also a trailing one, stays a hole.
void CopyRegions(File& from, File& to, std::uint64_t size, bool holes, std::span<char> buffer,
                 DataCopy& copy, const std::function<bool(std::uint64_t)>& goOn) {
    RegionMover mover(from, to, buffer, copy, goOn);
    for (std::uint64_t offset = 0; offset < size;) {
        const Region region = holes ? NextData(from.descriptor(), offset, size) : Region{0, size};
        if (region.start >= size) break;
        if (!mover.Move(region)) return;
        offset = region.end;
        copy.bytes = offset;
    }
    if (copy.bytes < size) EndWithHole(from, to, size, copy);
}

void CopyThroughBuffer(File& from, File& to, std::span<char> buffer, DataCopy& copy,
                       const std::function<bool(std::uint64_t)>& goOn) {
    for (;;) {
        auto got = from.Read(buffer);
        if (!got) {
            copy.end = DataCopy::End::ReadFailed;
            copy.error = got.error();
            return;
        }
        if (got.value() == 0) return;
        if (Status written = to.Write(buffer.first(got.value())); !written) {
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

DataCopy CopyFileData(File& from, File& to, std::uint64_t size, bool holes, std::span<char> buffer,
                      const std::function<bool(std::uint64_t)>& goOn) {
    DataCopy copy;
    if (size != 0) {
        CopyRegions(from, to, size, holes, buffer, copy, goOn);
    } else {
        CopyThroughBuffer(from, to, buffer, copy, goOn);
    }
    return copy;
}

}  // namespace twinfold::platform
