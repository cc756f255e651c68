// The data objects of a .x file as a tree, before any meaning is given to them: each
// object has a type, an optional name, its values in order and its child objects and
// references. Template declarations are passed over.
#pragma once

#include "XFileTokens.h"

#include <memory>
#include <string>
#include <vector>

namespace velmora::d3dx {

struct XObject;

// A child: a nested object, or a reference `{ name }` to an object elsewhere.
struct XChild {
    std::unique_ptr<XObject> object;  // null for a reference
    std::string reference;
};

struct XObject {
    std::string type;
    std::string name;
    std::vector<XToken> values;  // numbers and strings
    std::vector<XChild> children;
};

// False when the tokens are not a sequence of well-formed data objects (or nest deeper
// than any real file does).
bool parseXObjects(const std::vector<XToken>& tokens, std::vector<XObject>& objects);

}  // namespace velmora::d3dx
