#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "render/depth_order.h"

using namespace verdel;

namespace {

// The selection sort with exchanges, on a copy of the depths.
std::vector<int> SelectionOrder(const std::vector<float>& depths)
{
    std::vector<int> order(depths.size());
    std::vector<float> keys = depths;
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i) + 1;
    for (size_t i = 0; i + 1 < keys.size(); ++i) {
        size_t best = i;
        for (size_t k = i + 1; k < keys.size(); ++k)
            if (keys[k] < keys[best]) best = k;
        std::swap(keys[i], keys[best]);
        std::swap(order[i], order[best]);
    }
    return order;
}

std::vector<int> FastOrder(TFaceStore& store, const std::vector<float>& depths)
{
    store.ObjectCount = static_cast<int32_t>(depths.size());
    for (size_t k = 0; k < depths.size(); ++k) store.Objects[k].Depth = depths[k];
    auto sorter = std::make_unique<TDepthOrder>();
    sorter->Sort(store);
    std::vector<int> order;
    for (int i = 0; i < sorter->Count(); ++i) order.push_back((*sorter)[i]);
    return order;
}

} // namespace

TEST(DepthOrder, EqualDepthsKeepTheSelectionSortsExchangeOrder)
{
    auto store = std::make_unique<TFaceStore>();
    // The exchange of entry 1 with entry 3 moves object 1 behind object 2.
    EXPECT_EQ(FastOrder(*store, {-1, -1, -5}), (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(FastOrder(*store, {-2, -1, -1, -3}), (std::vector<int>{4, 1, 3, 2}));
    EXPECT_EQ(FastOrder(*store, {-7}), (std::vector<int>{1}));
    EXPECT_TRUE(FastOrder(*store, {}).empty());
}

TEST(DepthOrder, SameAsTheSelectionSortOnRandomTiedAndOddDepths)
{
    auto store = std::make_unique<TFaceStore>();
    std::mt19937 random(17);
    const float nan = std::nanf("");
    const float inf = std::numeric_limits<float>::infinity();
    for (int trial = 0; trial < 60; ++trial) {
        SCOPED_TRACE(trial);
        const int n = 1 + static_cast<int>(random() % 700);
        std::vector<float> depths(n);
        for (float& d : depths) {
            const unsigned kind = random() % 20;
            d = kind == 0   ? nan
                : kind == 1 ? inf
                : kind == 2 ? -inf
                : kind == 3 ? -0.0f
                : trial % 2 ? -static_cast<float>(random() % 5)
                            : -static_cast<float>(random() % 100000) / 7.0f;
        }
        ASSERT_EQ(FastOrder(*store, depths), SelectionOrder(depths));
    }
}

TEST(DepthOrder, SameAsTheSelectionSortWithManyTiesAndNoNaN)
{
    // Without NaN the order comes from sorted depths and replayed exchanges:
    // runs of equal depths, infinities and both zeros must come out as the
    // exchanges leave them.
    auto store = std::make_unique<TFaceStore>();
    std::mt19937 random(29);
    const float inf = std::numeric_limits<float>::infinity();
    for (int trial = 0; trial < 80; ++trial) {
        SCOPED_TRACE(trial);
        const int n = 1 + static_cast<int>(random() % 500);
        const int distinct = 1 + trial % 9;
        std::vector<float> depths(n);
        for (float& d : depths) {
            const unsigned kind = random() % 16;
            d = kind == 0   ? inf
                : kind == 1 ? -inf
                : kind == 2 ? -0.0f
                : kind == 3 ? 0.0f
                            : -static_cast<float>(random() % distinct) * 1.5f + (trial % 2 ? 0.25f : -3e7f);
        }
        ASSERT_EQ(FastOrder(*store, depths), SelectionOrder(depths));
    }
}

TEST(DepthOrder, SameAsTheSelectionSortOnAFullTable)
{
    auto store = std::make_unique<TFaceStore>();
    std::mt19937 random(3);
    std::vector<float> depths(MaxObjects);
    for (float& d : depths) d = -static_cast<float>(random() % 3000) * 0.25f;
    EXPECT_EQ(FastOrder(*store, depths), SelectionOrder(depths));
}
