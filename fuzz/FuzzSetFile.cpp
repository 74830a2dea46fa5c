// Any set file text must read without fault, and the paths read, written as a set file and
// read again, must come back unchanged when none of them holds a line end.
#include "TemplateSetFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto paths = ParseTemplateSetText(std::string_view(reinterpret_cast<const char*>(data), size));
    std::string written;
    for (const std::string& path : paths) {
        if (path.find('\n') != std::string::npos)
            std::abort();
        written += path + '\n';
    }
    auto again = ParseTemplateSetText(written);
    // A path ending in CR loses it on the way back: the CR then belongs to the line end.
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (!paths[i].empty() && paths[i].back() == '\r')
            return 0;
    }
    if (again != paths)
        std::abort();
    return 0;
}
