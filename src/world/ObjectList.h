// The objects of a play in list order, with an index by Kind that the list keeps up to
// date itself as objects are added and taken out. Every dragonfly looks up the player,
// the boss and the thread several times a frame; walking the whole list for each made a
// frame's cost grow with the square of the dragonflies.
#pragma once

#include <cstddef>
#include <map>
#include <vector>

class CharaBase;

class ObjectList {
public:
    typedef std::vector<CharaBase*>::const_iterator const_iterator;

    ObjectList();
    ObjectList(const ObjectList&) = delete;
    ObjectList& operator=(const ObjectList&) = delete;

    // An object's Kind is read when it is added: it must be set by then.
    void push_back(CharaBase* object);
    void insert(const_iterator at, CharaBase* object);
    void erase(const_iterator at);
    void pop_back();
    // Forgets every object without deleting it.
    void clear();
    // Takes every object out of the list first, so that nothing deleted can be reached
    // through it by a destructor or by a walk that is under way, then deletes them.
    void deleteAll();

    std::size_t size() const { return objects.size(); }
    bool empty() const { return objects.empty(); }
    CharaBase* operator[](std::size_t i) const { return objects[i]; }
    CharaBase* back() const { return objects.back(); }
    const_iterator begin() const { return objects.begin(); }
    const_iterator end() const { return objects.end(); }
    // The position of an object in the list, or -1.
    int indexOf(const CharaBase* object) const;

    // The objects of one Kind in list order: what a walk of the list picking that Kind
    // visits. The reference stays valid, and follows the list, as long as the list lives.
    const std::vector<CharaBase*>& ofKind(int kind);

private:
    // Builds one Kind's group again from the list, after a change in its middle.
    void regroup(int kind);

    std::vector<CharaBase*> objects;
    std::map<int, std::vector<CharaBase*>> groups;
};
