#pragma once
// The outputs a run has written, each as a 64-bit hash of its name's key
// with the ticket (walk order) of the file that wrote it: a folder run of
// many files keeps 12 bytes an output rather than two names. Two names that
// differ could share a hash (about once in 2^64 / outputs² runs); the later
// file is then refused its output, never an output overwritten.

#include <cstdint>
#include <optional>
#include <vector>

namespace quillon {

class WrittenOutputs {
public:
    // The ticket a file past four billion is kept as: tickets take 32 bits.
    static constexpr std::uint32_t kFarTicket = UINT32_MAX;

    // Room for the outputs a run expects (one a file); more still fit.
    void expect(std::size_t outputs);
    void add(std::uint64_t key, std::size_t ticket);
    // The ticket of the file that wrote key, if one did.
    std::optional<std::size_t> writer(std::uint64_t key) const;

private:
    struct Output {
        std::uint64_t key;
        std::size_t ticket;
        bool operator<(const Output& other) const { return key < other.key; }
    };
    // New outputs wait in a short unsorted list, merged into the sorted one
    // when it is full: an insert into the sorted one would move half of it.
    static constexpr std::size_t kPending = 1024;
    void mergePending();

    // The sorted outputs as two arrays: a struct of both would be padded to 16 bytes.
    std::vector<std::uint64_t> keys_;
    std::vector<std::uint32_t> tickets_;
    std::vector<Output> pending_;
};

}  // namespace quillon
