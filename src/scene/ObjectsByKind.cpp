#include "ObjectsByKind.h"

#include "CharaBase.h"

ObjectsByKind::ObjectsByKind(const std::vector<CharaBase*>& list)
    : list(list), indexed(0), lastIndexed(nullptr), deletionsSeen(CharaBase::deletions) {}

const std::vector<CharaBase*>& ObjectsByKind::of(int kind) {
    catchUp();
    return groups[kind];
}

void ObjectsByKind::catchUp() {
    const bool changed = deletionsSeen != CharaBase::deletions || list.size() < indexed ||
                         (indexed > 0 && list[indexed - 1] != lastIndexed);
    if (changed) startOver();
    for (; indexed < list.size(); ++indexed) {
        lastIndexed = list[indexed];
        groups[lastIndexed->Kind].push_back(list[indexed]);
    }
}

void ObjectsByKind::startOver() {
    // The groups keep their storage: a new play fills them again without allocating.
    for (auto& group : groups) group.second.clear();
    indexed = 0;
    lastIndexed = nullptr;
    deletionsSeen = CharaBase::deletions;
}
