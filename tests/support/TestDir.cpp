#include "support/TestDir.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace twinfold::test {

TestDir::TestDir() {
    std::string pattern = (fs::temp_directory_path() / "twinfold-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root_ = fs::canonical(pattern).string();
}

TestDir::~TestDir() {
    std::error_code ec;
    // Read-only directories would stop the removal: open everything up first.
    for (auto it = fs::recursive_directory_iterator(root_, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_symlink()) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
        }
    }
    fs::remove_all(root_, ec);
}

std::string TestDir::Path(const std::string& relative) const {
    return relative.empty() ? root_ : root_ + "/" + relative;
}

std::string TestDir::CreateFile(const std::string& relative, const std::string& data,
                                std::optional<std::int64_t> modified) {
    std::string full = Path(relative);
    fs::create_directories(fs::path(full).parent_path());
    {
        std::ofstream out(full, std::ios::binary | std::ios::trunc);
        out << data;
        if (!out) throw std::runtime_error("cannot write " + full);
    }
    if (modified) SetModified(relative, *modified);
    return full;
}

std::string TestDir::CreateDirectory(const std::string& relative) {
    std::string full = Path(relative);
    fs::create_directories(full);
    return full;
}

void TestDir::SetModified(const std::string& relative, std::int64_t seconds) {
    auto sys = std::chrono::system_clock::from_time_t(static_cast<std::time_t>(seconds));
    fs::last_write_time(Path(relative), std::chrono::file_clock::from_sys(sys));
}

void TestDir::MakeReadOnly(const std::string& relative) {
    fs::permissions(Path(relative),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

bool TestDir::Exists(const std::string& relative) const {
    std::error_code ec;
    return fs::symlink_status(Path(relative), ec).type() != fs::file_type::not_found && !ec;
}

std::vector<std::string> TestDir::Names(const std::string& relative) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(Path(relative))) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string TestDir::ReadFile(const std::string& relative) const {
    std::ifstream in(Path(relative), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::int64_t TestDir::Modified(const std::string& relative) const {
    auto stamp = fs::last_write_time(Path(relative));
    auto sys = std::chrono::file_clock::to_sys(stamp);
    return std::chrono::duration_cast<std::chrono::seconds>(sys.time_since_epoch()).count();
}

CurrentDirectoryGuard::CurrentDirectoryGuard() : saved_(fs::current_path().string()) {}

CurrentDirectoryGuard::~CurrentDirectoryGuard() {
    std::error_code ec;
    fs::current_path(saved_, ec);
}

std::int64_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&local));
}

}  // namespace twinfold::test
