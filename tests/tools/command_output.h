// SPDX-License-Identifier: MIT
// What a shell command prints on its standard output.
#pragma once

#include <cstdio>
#include <string>

namespace kestrow::testing {

inline std::string Output(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t n; pipe != nullptr && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    if (pipe != nullptr) pclose(pipe);
    return out;
}

}  // namespace kestrow::testing
