// The fixed slots voices take their memory from.
#include "dsound/VoiceSlots.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

namespace {

using Slots = velmora::dsound::VoiceSlots<40, 3>;

TEST(VoiceSlots, HandsOutDistinctAlignedSlotsAndTakesBackWhatIsGiven) {
    static Slots slots;
    std::vector<void*> taken;
    for (int i = 0; i < 3; ++i) taken.push_back(slots.take(40));
    for (void* memory : taken) {
        EXPECT_TRUE(slots.holds(memory));
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(memory) % alignof(std::max_align_t), 0u);
    }
    EXPECT_EQ(std::set<void*>(taken.begin(), taken.end()).size(), 3u);

    // Slots given back are handed out again, each to one taker only.
    slots.give(taken[1]);
    slots.give(taken[0]);
    void* again = slots.take(24);
    void* another = slots.take(40);
    EXPECT_EQ(std::set<void*>({again, another}), std::set<void*>({taken[0], taken[1]}));
    for (void* memory : {again, another, taken[2]}) slots.give(memory);
}

TEST(VoiceSlots, GoesToTheHeapWhenFullOrForALargerVoice) {
    static Slots slots;
    std::vector<void*> taken;
    for (int i = 0; i < 3; ++i) taken.push_back(slots.take(40));
    void* beyond = slots.take(40);
    void* larger = slots.take(41);
    EXPECT_FALSE(slots.holds(beyond));
    EXPECT_FALSE(slots.holds(larger));
    // Heap memory goes back to the heap, and does not become a slot.
    slots.give(beyond);
    slots.give(larger);
    slots.give(taken[2]);
    EXPECT_EQ(slots.take(40), taken[2]);
    void* full = slots.take(40);
    EXPECT_FALSE(slots.holds(full));
    slots.give(full);
    for (void* memory : taken) slots.give(memory);
}

}  // namespace
