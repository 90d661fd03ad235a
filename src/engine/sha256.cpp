#include "engine/sha256.h"

#include <nettle/sha2.h>

namespace quillon {

struct Sha256::Context {
    sha256_ctx nettle;
};

Sha256::Sha256() : context_(std::make_unique<Context>()) { sha256_init(&context_->nettle); }

Sha256::~Sha256() = default;

void Sha256::update(const void* data, std::size_t size) {
    sha256_update(&context_->nettle, size, static_cast<const std::uint8_t*>(data));
}

std::string Sha256::hex() {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::uint8_t value[SHA256_DIGEST_SIZE];
    sha256_digest(&context_->nettle, sizeof value, value);  // also starts the context over
    std::string text;
    for (const std::uint8_t byte : value) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}

}  // namespace quillon
