#pragma once
// The outputs written so far in one run, with the source each came from, so
// that a later file of the same run never overwrites one of them: two faxes
// named alike in different folders (or x.fxd beside x.fxs) would otherwise
// leave one output and two "Success !" lines.

#include <string>
#include <unordered_map>

namespace quillon {

class RunOutputs {
public:
    // A new run: outputs of earlier runs may be replaced again.
    void clear() { written_.clear(); }
    // The source that wrote path earlier in this run, or nullptr.
    const std::string* writerOf(const std::string& path) const;
    void record(const std::string& path, const std::string& source);

private:
    static std::string key(const std::string& path);
    std::unordered_map<std::string, std::string> written_;
};

}  // namespace quillon
