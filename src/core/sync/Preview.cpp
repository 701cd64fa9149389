#include "sync/Preview.h"

namespace twinfold::sync {

std::string PreviewLine::Text() const {
    switch (kind) {
        case Kind::Copy:
            return "copy " + source + " -> " + target;
        case Kind::Fail:
            return "fail " + source + ": " + reason;
        case Kind::Skip:
            break;
    }
    return "skip " + source;
}

void PreviewCounts::Add(const PreviewLine& line) {
    switch (line.kind) {
        case PreviewLine::Kind::Copy:
            ++copy;
            bytes += line.bytes;
            break;
        case PreviewLine::Kind::Skip:
            ++skip;
            break;
        case PreviewLine::Kind::Fail:
            ++fail;
            break;
    }
}

std::string PreviewCounts::Text() const {
    return std::to_string(copy) + " to copy (" + std::to_string(bytes) + " bytes), " +
           std::to_string(skip) + " to skip, " + std::to_string(fail) + " to fail";
}

}  // namespace twinfold::sync
