#include "main/RunProgress.h"

#include <cmath>
#include <cstdio>

#include "util/GroupedCount.h"

namespace twinfold {
namespace {

std::string Megabytes(std::uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / (1024.0 * 1024.0));
    return text;
}

// A guess from the pace so far; only worth saying once every file is known.
std::string TimeLeft(const RunProgress& progress) {
    if (!progress.counted || progress.done == 0 || progress.done >= progress.planned) return {};
    const double left = progress.elapsedSeconds / static_cast<double>(progress.done) *
                        static_cast<double>(progress.planned - progress.done);
    if (left < 60) return ", about " + std::to_string(std::lround(std::ceil(left))) + " s left";
    return ", about " + std::to_string(std::lround(std::ceil(left / 60))) + " min left";
}

}  // namespace

std::string OverallText(const RunProgress& progress) {
    return GroupedCount(progress.done) + " of " + GroupedCount(progress.planned) + " files" +
           (progress.counted ? "" : " found so far") + ", " + Megabytes(progress.bytesCopied) +
           " copied" + TimeLeft(progress);
}

}  // namespace twinfold
