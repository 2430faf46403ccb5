// Environment variables of the test process, which the child processes it
// starts inherit.
#pragma once

#include <string>

namespace testsupport {

// Sets (or, with an empty value, removes) a variable.
void SetEnvironment(const std::string& name, const std::string& value);

}  // namespace testsupport
