#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace twinfold::test {

// A fresh temporary directory for one test, removed with everything in it
// (read-only entries included) when the test ends.
class TestDir {
public:
    TestDir();
    ~TestDir();
    TestDir(const TestDir&) = delete;
    TestDir& operator=(const TestDir&) = delete;

    const std::string& path() const { return root_; }
    // The full path of `relative` inside the directory.
    std::string Path(const std::string& relative) const;

    // Makes missing parents; sets the last-write time when one is given.
    std::string CreateFile(const std::string& relative, const std::string& data = "",
                           std::optional<std::int64_t> modified = std::nullopt);
    std::string CreateDirectory(const std::string& relative);
    // A writable program directory "prog/", as the windows expect one.
    std::string ProgramDir() { return CreateDirectory("prog") + "/"; }
    void SetModified(const std::string& relative, std::int64_t seconds);
    void MakeReadOnly(const std::string& relative);

    bool Exists(const std::string& relative) const;
    // The names in the directory `relative`, sorted by their bytes.
    std::vector<std::string> Names(const std::string& relative) const;
    std::string ReadFile(const std::string& relative) const;
    std::int64_t Modified(const std::string& relative) const;

private:
    std::string root_;
};

// Puts the process's current directory back when a test ends.
class CurrentDirectoryGuard {
public:
    CurrentDirectoryGuard();
    ~CurrentDirectoryGuard();

private:
    std::string saved_;
};

// A fixed local time that packs exactly (an even second), as seconds since the
// epoch: year, month, day, hour, minute, second.
std::int64_t LocalTime(int year, int month, int day, int hour = 12, int minute = 0, int second = 0);

}  // namespace twinfold::test
