#include "generated_files.h"

#include <fstream>
#include <iterator>

#include "support/child_process.h"

namespace samples_test {

Bytes ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int RunProgram(const std::string& program, const std::vector<std::string>& args) {
    return testsupport::RunChild(program, args).exit_code;
}

}  // namespace samples_test
