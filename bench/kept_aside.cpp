#include "kept_aside.h"

namespace bench {

uint64_t NameHash(const std::string& name) {
    uint64_t h = 1469598103934665603ull;
    for (const char c : name) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return h;
}

bool InPart(const std::string& name, const std::string& part) {
    const bool test = NameHash(name) % 4 == 0;
    return part == "all" || (part == "test") == test;
}

}  // namespace bench
