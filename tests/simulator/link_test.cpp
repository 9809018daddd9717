#include <gtest/gtest.h>

#include <string>

#include "link_faults.h"

namespace sts {
namespace {

TEST(ReplyShaper, AppliesLineFaults) {
    ReplyShaper shaper(7);
    const std::string reply = "#230 231 229 228 230 232 0500 0499\r";
    auto joined = [&](const LinkFaults& faults) {
        std::string all;
        for (const auto& w : shaper.shape(reply, faults, 0))
            all += w.bytes;
        return all;
    };
    EXPECT_EQ(joined(LinkFaults{}), reply);
    EXPECT_EQ(joined(LinkFaults{.noCr = true}), reply.substr(0, reply.size() - 1));
    EXPECT_TRUE(shaper.shape(reply, LinkFaults{.silent = true}, 0).empty());
    const std::string garbled = joined(LinkFaults{.garbage = true});
    EXPECT_TRUE(garbled.size() == reply.size() && garbled != reply) << garbled;
    EXPECT_EQ(garbled.find('\r'), garbled.size() - 1);

    const auto writes = shaper.shape(reply, LinkFaults{.chunks = 3, .delayMs = 250}, 100);
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(writes[0].due, 350);
    EXPECT_EQ(writes[2].due, 350 + 2 * ReplyShaper::kChunkGap);
    EXPECT_EQ(writes[0].bytes + writes[1].bytes + writes[2].bytes, reply);
    EXPECT_EQ(writes[0].bytes.find('\r'), std::string::npos);
    EXPECT_EQ(shaper.shape("OK\r", LinkFaults{.chunks = 64}, 0).size(), 3u);  // one char each
}

}  // namespace
}  // namespace sts
