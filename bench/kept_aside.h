// Which characters are kept aside for reporting: a quarter, by a hash of the
// name, the same in every benchmark that tunes on the rest.
#pragma once

#include <cstdint>
#include <string>

namespace bench {

// FNV-1a of the name's bytes: the same on any machine.
uint64_t NameHash(const std::string& name);

// part: "test" (the quarter kept aside), "tune" (the rest) or "all".
bool InPart(const std::string& name, const std::string& part);

}  // namespace bench
