#pragma once
// SHA-256 over bytes handed in as they pass: of an output as it is written,
// of a source's bytes, of a page's canonical rows.

#include <cstddef>
#include <memory>
#include <string>

namespace quillon {

class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void update(const void* data, std::size_t size);
    // Lowercase hex of the bytes so far; the digest starts over afterwards.
    std::string hex();

private:
    struct Context;  // nettle's, kept out of this header
    std::unique_ptr<Context> context_;
};

}  // namespace quillon
