#pragma once

#include <cstdint>
#include <string>

#include "settings/SyncSettings.h"

namespace twinfold {

// What the main window's commands need of the Options dialog: the committed
// patterns and copy buffer size a run reads, and the one way settings come in
// and go out.
class SyncOptions {
public:
    virtual const std::string& includeFilters() const = 0;
    virtual const std::string& excludeFilters() const = 0;
    virtual std::int32_t CopyBufferSize() const = 0;
    virtual void Apply(const SyncSettings& settings) = 0;
    virtual void Collect(SyncSettings& settings) const = 0;
    virtual void setChunkSizeForm(std::int32_t size) = 0;

protected:
    ~SyncOptions() = default;
};

}  // namespace twinfold
