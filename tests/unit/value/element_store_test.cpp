// Matrix element storage: large blocks are reused after release and still
// come back zeroed when asked; blocks of every size hold what is written.
#include <gtest/gtest.h>

#include <vector>

#include "value/element_store.h"

namespace {

TEST(ElementStore, ReusedBlocksAreZeroedOnRequest) {
    const std::size_t count = 1000 * 1000;  // 16 MB: large enough for whole pages
    for (int round = 0; round < 3; ++round) {
        Complex* a = allocateElements(count, true);
        ASSERT_NE(a, nullptr);
        std::size_t nonZero = 0;
        for (std::size_t i = 0; i < count; ++i) nonZero += a[i].re != 0.0 || a[i].im != 0.0;
        EXPECT_EQ(nonZero, 0u) << "round " << round;
        for (std::size_t i = 0; i < count; i += 4097) a[i] = {1.0, -1.0};
        a[count - 1] = {2.0, 2.0};
        releaseElements(a, count);
    }
}

TEST(ElementStore, BlocksOfEverySizeKeepTheirElements) {
    // Small (heap) and large (paged) blocks alive together, some uninitialised.
    const std::vector<std::size_t> counts = {2, 1000, 262144, 262145, 1000000, 3000000};
    std::vector<Complex*> blocks;
    for (std::size_t k = 0; k < counts.size(); ++k) {
        Complex* b = allocateElements(counts[k], k % 2 == 0);
        ASSERT_NE(b, nullptr);
        for (std::size_t i = 0; i < counts[k]; ++i) b[i] = {static_cast<double>(k), static_cast<double>(i)};
        blocks.push_back(b);
    }
    for (std::size_t k = 0; k < counts.size(); ++k) {
        const std::size_t last = counts[k] - 1;
        EXPECT_EQ(blocks[k][last].re, static_cast<double>(k));
        EXPECT_EQ(blocks[k][last].im, static_cast<double>(last));
        releaseElements(blocks[k], counts[k]);
    }
}

}  // namespace
