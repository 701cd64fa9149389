#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Result.h"
#include "sync/FileStep.h"

// The copy with its reading step made replaceable, so that tests can make a
// source fail part way through, which real files hardly ever do on demand.
namespace twinfold::detail {

using sync::ChunkReader;

Status BufferedCopyFileWith(const std::string& fileName, const std::string& destination,
                            std::int32_t copyBufferSize, const ChunkReader& read);

}  // namespace twinfold::detail
