#pragma once
// What the command-line tools share about their usage text.

#include <string_view>

namespace tools {

/// True when the only argument asks for the usage: -h or --help.
[[nodiscard]] inline bool AskedForHelp(int argc, char** argv) {
    return argc == 2 && (std::string_view(argv[1]) == "-h" || std::string_view(argv[1]) == "--help");
}

}  // namespace tools
