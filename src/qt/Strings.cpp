#include "qt/Strings.h"
