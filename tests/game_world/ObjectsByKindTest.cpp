// The per-Kind index of the object list must always give what a walk of the list picking
// one Kind gives, in the same order, however the list has changed since the last look.
#include <algorithm>
#include <random>

#include "ObjectsByKind.h"
#include "WorldTestSupport.h"

using worldtest::Thing;

namespace {

std::vector<CharaBase*> walk(const std::vector<CharaBase*>& list, int kind) {
    std::vector<CharaBase*> found;
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i]->Kind == kind) found.push_back(list[i]);
    return found;
}

void deleteAll(std::vector<CharaBase*>& list) {
    for (CharaBase* object : list) delete object;
    list.clear();
}

const int KINDS[] = {KIND_BASE, KIND_PLAYER, KIND_SPIDER_LINE, KIND_DRAGONFLY, KIND_PILLBUGS, KIND_CAMERA};

}  // namespace

TEST(ObjectsByKindTest, FollowsAppendsAndNewPlaysLikeAWalk) {
    std::vector<CharaBase*> list;
    ObjectsByKind index(list);
    std::mt19937 random(7);
    for (int step = 0; step < 3000; ++step) {
        const unsigned choice = random() % 100;
        if (choice < 60) {
            list.push_back(new Thing(KINDS[random() % 6]));
        } else if (choice < 62) {
            deleteAll(list);  // a play ends; the next one starts from an empty list
        } else {
            const int kind = KINDS[random() % 6];
            ASSERT_EQ(index.of(kind), walk(list, kind)) << "step " << step << ", kind " << kind;
        }
    }
    deleteAll(list);
}

TEST(ObjectsByKindTest, ANewPlayWhoseObjectsReuseTheOldAddressesIsSeenAfresh) {
    std::vector<CharaBase*> list;
    ObjectsByKind index(list);
    for (int kind : {KIND_CAMERA, KIND_DRAGONFLY, KIND_PILLBUGS, KIND_PLAYER}) list.push_back(new Thing(kind));
    ASSERT_EQ(index.of(KIND_PLAYER).size(), 1u);

    // The same number of objects made right after the old ones went: the allocator is
    // free to hand out the same addresses, now with other Kinds.
    deleteAll(list);
    for (int kind : {KIND_PLAYER, KIND_PLAYER, KIND_DRAGONFLY, KIND_CAMERA}) list.push_back(new Thing(kind));
    EXPECT_EQ(index.of(KIND_PLAYER), walk(list, KIND_PLAYER));
    EXPECT_EQ(index.of(KIND_PILLBUGS), walk(list, KIND_PILLBUGS));
    EXPECT_EQ(index.of(KIND_CAMERA), walk(list, KIND_CAMERA));
    deleteAll(list);
}

TEST(ObjectsByKindTest, AListEmptiedWithoutDeletingIsNotTrustedEither) {
    std::vector<CharaBase*> list;
    ObjectsByKind index(list);
    Thing first(KIND_PLAYER), second(KIND_DRAGONFLY), third(KIND_PLAYER);
    list = {&first, &second};
    ASSERT_EQ(index.of(KIND_PLAYER).size(), 1u);
    // Same length, another last entry: what was indexed no longer holds.
    list = {&first, &third};
    EXPECT_EQ(index.of(KIND_PLAYER), walk(list, KIND_PLAYER));
    list = {&third};
    EXPECT_EQ(index.of(KIND_PLAYER), walk(list, KIND_PLAYER));
    EXPECT_TRUE(index.of(KIND_DRAGONFLY).empty());
}
