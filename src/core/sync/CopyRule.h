#pragma once

#include <cstdint>

#include "platform/FileSystem.h"

// The copy decision: which file a run copies, by the packed local time
// stamps of source and destination (2-second resolution).
namespace twinfold::sync {

// The packed stamp of a source file, or -1 when there is none: nothing
// there, no regular file, or a time before 1980 or after 2107.
std::int64_t SourceStampOf(const platform::EntryStatus* source);

// The packed stamp of whatever stands at the destination, file or not. A
// time before 1980 counts as 0, older than every source; one after 2107 as
// INT64_MAX, newer than every source.
std::int64_t DestinationStampOf(const platform::EntryStatus& target);

// A file is copied when nothing stands at the destination (also when the
// source has no stamp, or a copy would never be made), or when what stands
// there is older than the source. A source that vanished is not copied.
bool ShouldCopy(const platform::EntryStatus* source, const platform::EntryStatus* target);

}  // namespace twinfold::sync
