// Open files, whole writes and the temporary file a safe replace writes into.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>

#include "platform/FileSystem.h"

namespace twinfold::platform {
namespace {

Error ErrorOf(int code) { return Error{ErrorText(code), code}; }

}  // namespace

File::File(File&& other) noexcept : fd_(other.fd_), modified_(other.modified_) { other.fd_ = -1; }

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = other.fd_;
        modified_ = other.modified_;
        other.fd_ = -1;
    }
    return *this;
}

File::~File() { Close(); }

Result<File> File::OpenForReading(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return ErrorOf(errno);
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        int code = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        close(fd);
        return ErrorOf(code);
    }
    return File(fd, static_cast<std::int64_t>(st.st_mtim.tv_sec));
}

Result<File> File::CreateNew(const std::string& path) {
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) return ErrorOf(errno);
    return File(fd);
}

Result<std::size_t> File::Read(std::span<char> buffer) {
    for (;;) {
        ssize_t n = read(fd_, buffer.data(), buffer.size());
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno != EINTR) return ErrorOf(errno);
    }
}

Status File::Write(std::span<const char> data) {
    while (!data.empty()) {
        ssize_t n = write(fd_, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return ErrorOf(errno);
        }
        data = data.subspan(static_cast<std::size_t>(n));
    }
    return Ok();
}

Status File::SetModified(std::int64_t seconds) {
    struct timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(seconds), 0}};
    if (futimens(fd_, times) != 0) return ErrorOf(errno);
    return Ok();
}

Status File::Close() {
    if (fd_ < 0) return Ok();
    int fd = fd_;
    fd_ = -1;
    // A delayed write error (network volumes, a full disk) shows up here.
    if (close(fd) != 0 && errno != EINTR) return ErrorOf(errno);
    return Ok();
}

Result<TemporaryFile> CreateTemporaryBeside(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    auto slash = target.find_last_of(kSeparator);
    std::string dir = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    auto seed =
        static_cast<unsigned long>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path = dir + "." + name + ".tf" + std::to_string(getpid()) + "-" +
                           std::to_string((seed + counter++) % 1000000);
        auto file = File::CreateNew(path);
        if (file) return TemporaryFile{std::move(file).value(), path};
        if (file.error().code != EEXIST) return file.error();
    }
    return ErrorOf(EEXIST);
}

}  // namespace twinfold::platform
