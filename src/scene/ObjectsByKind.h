// The objects of the play's list grouped by Kind, each group in list order: what a walk
// of the list that picks one Kind would visit, without visiting everything else. Every
// dragonfly looks up the player, the boss and the thread several times a frame; walking
// the whole list for each made a frame's cost grow with the square of the dragonflies.
//
// The index follows the list by itself: the list only grows during a play, so new
// entries are added as they appear; any object deleted anywhere, a list that got shorter
// or whose last indexed entry changed makes it start over.
#pragma once

#include <cstddef>
#include <map>
#include <vector>

class CharaBase;

class ObjectsByKind {
public:
    explicit ObjectsByKind(const std::vector<CharaBase*>& list);
    ObjectsByKind(const ObjectsByKind&) = delete;
    ObjectsByKind& operator=(const ObjectsByKind&) = delete;

    // The list's objects of this Kind in list order, as the list is now. The reference
    // stays valid until the next call.
    const std::vector<CharaBase*>& of(int kind);

private:
    void catchUp();
    void startOver();

    const std::vector<CharaBase*>& list;
    std::map<int, std::vector<CharaBase*>> groups;
    std::size_t indexed;
    const CharaBase* lastIndexed;
    unsigned long deletionsSeen;
};
