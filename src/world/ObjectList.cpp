#include "ObjectList.h"

#include "CharaBase.h"

ObjectList::ObjectList() {}

void ObjectList::push_back(CharaBase* object) {
    objects.push_back(object);
    groups[object->Kind].push_back(object);
}

void ObjectList::insert(const_iterator at, CharaBase* object) {
    objects.insert(at, object);
    regroup(object->Kind);
}

void ObjectList::erase(const_iterator at) {
    const int kind = (*at)->Kind;
    objects.erase(at);
    regroup(kind);
}

void ObjectList::pop_back() {
    groups[objects.back()->Kind].pop_back();
    objects.pop_back();
}

void ObjectList::clear() {
    objects.clear();
    // The groups keep their storage: a new play fills them again without allocating.
    for (auto& group : groups) group.second.clear();
}

void ObjectList::deleteAll() {
    std::vector<CharaBase*> ending;
    ending.swap(objects);
    for (auto& group : groups) group.second.clear();
    for (CharaBase* object : ending) delete object;
}

int ObjectList::indexOf(const CharaBase* object) const {
    for (std::size_t i = 0; i < objects.size(); ++i) {
        if (objects[i] == object) return static_cast<int>(i);
    }
    return -1;
}

const std::vector<CharaBase*>& ObjectList::ofKind(int kind) { return groups[kind]; }

void ObjectList::regroup(int kind) {
    std::vector<CharaBase*>& group = groups[kind];
    group.clear();
    for (CharaBase* object : objects) {
        if (object->Kind == kind) group.push_back(object);
    }
}
