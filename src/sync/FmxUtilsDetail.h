#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "desktop/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/Result.h"

// The copy with its reading step made replaceable, so that tests can make a
// source fail part way through, which real files hardly ever do on demand.
namespace twinfold::detail {

// Reads the next chunk of `source` into `buffer`: the number of bytes read,
// 0 at the end, or the error.
using ChunkReader =
    std::function<Result<std::size_t>(platform::File& source, std::span<char> buffer)>;

bool BufferedCopyFileWith(const std::string& fileName, const std::string& destination,
                          std::int32_t copyBufferSize, Desktop& desktop, const ChunkReader& read);

}  // namespace twinfold::detail
