#include <cstdio>
#include <cstdlib>

#include "fuzz_targets.h"

namespace zepfuzz {

void Require(bool holds, const char* property) {
    if (holds) return;
    std::fprintf(stderr, "fuzz property broken: %s\n", property);
    std::abort();
}

}  // namespace zepfuzz
