#include "link_faults.h"

#include <algorithm>

namespace sts {

std::vector<TimedWrite> ReplyShaper::shape(std::string reply, const LinkFaults& faults,
                                           Millis now) {
    if (faults.reply) {
        reply = *faults.reply;
    }
    if (faults.silent || faults.cut || reply.empty()) {
        return {};
    }
    if (faults.garbage) {
        std::uniform_int_distribution<int> printable('!', '~');
        for (std::size_t i = 0; i + 1 < reply.size(); ++i) {
            reply[i] = static_cast<char>(printable(random_));
        }
    }
    if (faults.noCr && reply.back() == '\r') {
        reply.pop_back();
    }
    const std::size_t pieces =
        std::clamp<std::size_t>(static_cast<std::size_t>(std::max(faults.chunks, 1)), 1,
                                std::max<std::size_t>(reply.size(), 1));
    std::vector<TimedWrite> writes;
    const std::size_t size = reply.size() / pieces;
    Millis due = now + std::max(faults.delayMs, 0);
    for (std::size_t i = 0; i < pieces; ++i) {
        const std::size_t from = i * size;
        const std::size_t length = i + 1 == pieces ? std::string::npos : size;
        writes.push_back({due, reply.substr(from, length)});
        due += faults.chunkGapMs;
    }
    return writes;
}

}  // namespace sts
