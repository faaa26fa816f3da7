// The example recordings the build ships: the .osc layout the program reads,
// and the signals their names promise.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "setup_test.h"

using namespace setuptest;

namespace {

constexpr int kSlots = 4011;
constexpr int kFrames = 4000;

struct Recording {
    std::vector<int32_t> right, left, sum, diff;
};

bool Load(const char *name, Recording *r)
{
    std::string bytes;
    if (!ReadFileBytes(HostPath("ONDAV_BINARY_DIR", std::string("dist/exemples/") + name), &bytes) ||
        bytes.size() != 4 * kSlots * 4)
        return false;
    std::vector<int32_t> *blocks[] = {&r->right, &r->left, &r->sum, &r->diff};
    for (int b = 0; b < 4; ++b) {
        blocks[b]->resize(kSlots);
        memcpy(blocks[b]->data(), bytes.data() + b * kSlots * 4, kSlots * 4);  // little-endian, as on x86
    }
    return true;
}

int Peak(const std::vector<int32_t> &v, int centre)
{
    int peak = 0;
    for (int i = 0; i < kFrames; ++i)
        peak = std::max(peak, std::abs(v[i] - centre));
    return peak;
}

// Rising crossings of the silence level per second.
double Frequency(const std::vector<int32_t> &v)
{
    int rises = 0;
    for (int i = 1; i < kFrames; ++i)
        if (v[i - 1] < 1 && v[i] >= 1)
            ++rises;
    return rises * 44100.0 / kFrames;
}

}  // namespace

TEST(Examples, RecordingsHaveTheDocumentLayoutAndTheSignalsNamed)
{
    Recording r[3];
    const char *const names[] = {"sinus.osc", "carre.osc", "silence.osc"};
    for (int f = 0; f < 3; ++f) {
        ASSERT_TRUE(Load(names[f], &r[f])) << names[f] << " missing or not 64176 bytes";
        for (int i = 0; i < kSlots; ++i) {
            ASSERT_EQ(r[f].right[i] + r[f].left[i], r[f].sum[i]) << names[f] << " index " << i;
            ASSERT_EQ(r[f].right[i] - r[f].left[i], r[f].diff[i]) << names[f] << " index " << i;
            int lowest = i < kFrames ? -127 : 0, highest = i < kFrames ? 128 : 0;
            ASSERT_TRUE(r[f].right[i] >= lowest && r[f].right[i] <= highest) << names[f] << " index " << i;
            ASSERT_TRUE(r[f].left[i] >= lowest && r[f].left[i] <= highest) << names[f] << " index " << i;
        }
    }
    EXPECT_NEAR(100, Peak(r[0].right, 1), 1);
    EXPECT_NEAR(60, Peak(r[0].left, 1), 1);
    EXPECT_NEAR(1000, Frequency(r[0].right), 15);
    EXPECT_NEAR(2500, Frequency(r[0].left), 15);
    EXPECT_NEAR(500, Frequency(r[1].right), 15);
    for (int i = 0; i < kFrames; ++i) {
        ASSERT_EQ(80, std::abs(r[1].right[i] - 1)) << i;
        ASSERT_EQ(r[1].right[i], r[1].left[i]) << i;
        ASSERT_TRUE(r[2].right[i] == 1 && r[2].left[i] == 1) << "silence reads +1, index " << i;
    }
}
