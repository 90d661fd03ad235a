#pragma once
// Matching names against Windows wildcards ("*.fx?").

#include <string_view>

namespace quillon::platform {

// Windows file-search matching: '*' matches any run of characters, '?' exactly
// one, letters compare without regard to case, and "*.*" matches every name
// (also names without a dot).
bool wildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace quillon::platform
