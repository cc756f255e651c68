// FNV-1a over the bytes of the play's state, frame after frame: the scene, and every
// object's Kind, Life, Active, Mode, Dead, Caught and matrices. Two runs whose digests
// agree after the same frames played the same game, frame for frame.
#pragma once

class StateDigest {
public:
    void addFrame();
    unsigned long long value() const { return hash_; }

private:
    template <class T>
    void add(const T& value);

    unsigned long long hash_ = 14695981039346656037ull;
};
