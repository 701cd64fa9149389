#include "platform/Result.h"

#include <cstring>

namespace twinfold {

Error FromErrno(int code) { return Error{std::strerror(code), code}; }

}  // namespace twinfold
