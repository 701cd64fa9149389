#include "fileops/RemoveFileEntry.h"

#include <cstdint>

#include "platform/FileSystem.h"

namespace twinfold {

bool RemoveFileEntry(const std::string& path) {
    std::uint32_t attributes = 0;
    switch (platform::QueryEntryKind(path, &attributes)) {
        case platform::EntryKind::File:
            if ((attributes & platform::kReadOnly) != 0) return false;
            return platform::RemoveFile(path).ok();
        case platform::EntryKind::Link:
            return platform::RemoveFile(path).ok();
        default:
            return false;
    }
}

}  // namespace twinfold
