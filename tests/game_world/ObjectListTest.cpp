// The list's index by Kind must always give what a walk of the list picking one Kind
// gives, in the same order, through every way the list changes, and a group looked up
// once must stay the group to read.
#include <random>

#include "ObjectList.h"
#include "WorldTestSupport.h"

using worldtest::Thing;

namespace {

std::vector<CharaBase*> walk(const ObjectList& list, int kind) {
    std::vector<CharaBase*> found;
    for (CharaBase* object : list)
        if (object->Kind == kind) found.push_back(object);
    return found;
}

const int KINDS[] = {KIND_BASE, KIND_PLAYER, KIND_SPIDER_LINE, KIND_DRAGONFLY, KIND_PILLBUGS, KIND_CAMERA};

}  // namespace

TEST(ObjectListTest, ItsGroupsFollowEveryChangeAndStayWhereTheyWereLookedUp) {
    ObjectList list;
    const std::vector<CharaBase*>* looked[6];
    for (int k = 0; k < 6; ++k) looked[k] = &list.ofKind(KINDS[k]);

    std::mt19937 random(7);
    const int destroyedBefore = Thing::destroyed;
    int made = 0;
    for (int step = 0; step < 3000; ++step) {
        const unsigned choice = random() % 100;
        Thing* thing = nullptr;
        if (choice < 55 || list.empty()) {
            thing = new Thing(KINDS[random() % 6]);
            list.push_back(thing);
        } else if (choice < 65) {
            thing = new Thing(KINDS[random() % 6]);
            list.insert(list.begin() + random() % list.size(), thing);
        } else if (choice < 72) {
            const auto at = list.begin() + random() % list.size();
            delete *at;
            list.erase(at);
        } else if (choice < 77) {
            delete list.back();
            list.pop_back();
        } else if (choice < 78) {
            list.deleteAll();  // a play ends; the next one starts from an empty list
        }
        if (thing) ++made;
        for (int k = 0; k < 6; ++k) {
            ASSERT_EQ(&list.ofKind(KINDS[k]), looked[k]) << "step " << step;
            ASSERT_EQ(*looked[k], walk(list, KINDS[k])) << "step " << step << ", kind " << KINDS[k];
        }
    }
    for (CharaBase* object : list) ASSERT_EQ(list[list.indexOf(object)], object);
    list.deleteAll();
    EXPECT_EQ(Thing::destroyed - destroyedBefore, made) << "every object deleted exactly once";
    EXPECT_EQ(list.indexOf(nullptr), -1);
}
