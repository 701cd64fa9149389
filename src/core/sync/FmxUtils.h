#pragma once

#include <cstdint>
#include <string>

#include "platform/Result.h"
#include "settings/CopyBufferSize.h"

// The buffered file copy every synchronisation uses, and the small queries
// around it: sizes, attribute words and the packed stamps the copy decision
// compares.
namespace twinfold {

// Copies the file `fileName` into the directory `destination` (a relative
// directory is taken against the current directory), under the source's own
// name, through one buffer of `copyBufferSize` bytes (32768 when it is 0 or
// less). The copy gets the source's packed stamp, that is its time rounded
// down to an even second. Ok when the file was copied completely; otherwise
// an Error whose message is the one the person is shown, leaving any earlier
// file at the target as it was and nothing new behind. It never writes
// through a link, into a directory or over a read-only file standing at the
// target.
Status BufferedCopyFile(const std::string& fileName, const std::string& destination,
                        std::int32_t copyBufferSize);

// The low 32 bits of the size of the file or directory found at `fileName`
// (expanded to a full path), or -1 when nothing is found there.
std::int32_t QueryFileSize(const std::string& fileName);

// The attribute word of the entry at `path`; platform::kNoEntryAttributes
// (every bit set) when nothing is there.
std::uint32_t FileAttributes(const std::string& path);

// True when every one of `bits` is set for `path`; so always true for a path
// where nothing is found.
bool HasAttributes(const std::string& path, std::uint32_t bits);

// The packed stamp of the file at `path`, or -1 when there is no file (nothing
// there, a directory) or its time has no packed form (before 1980, after
// 2107).
std::int64_t SourceStamp(const std::string& path);

// The packed stamp of whatever entry stands at `path`, file or directory, or 0
// when nothing is there. An entry dated before 1980 also yields 0, so any
// source counts as newer; one dated after 2107 yields INT64_MAX, so no source
// counts as newer.
std::int64_t DestinationStamp(const std::string& path);

}  // namespace twinfold
