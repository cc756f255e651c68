#include "XFileSyntax.h"

namespace velmora::d3dx {

namespace {

// Frame hierarchies of skinned models nest a few dozen levels at most.
constexpr int kMaxDepth = 64;

class Parser {
public:
    explicit Parser(const std::vector<XToken>& tokens) : tokens_(tokens) {}

    bool file(std::vector<XObject>& objects) {
        while (position_ < tokens_.size()) {
            const XToken& first = tokens_[position_];
            if (first.kind != XToken::Kind::Name) return false;
            if (first.text == "template") {
                if (!skipTemplate()) return false;
                continue;
            }
            objects.emplace_back();
            if (!object(objects.back(), 0)) return false;
        }
        return true;
    }

private:
    bool at(XToken::Kind kind) const { return position_ < tokens_.size() && tokens_[position_].kind == kind; }

    bool skipTemplate() {
        ++position_;
        if (at(XToken::Kind::Name)) ++position_;
        if (!at(XToken::Kind::OpenBrace)) return false;
        int open = 0;
        do {
            if (position_ == tokens_.size()) return false;
            if (at(XToken::Kind::OpenBrace)) ++open;
            if (at(XToken::Kind::CloseBrace)) --open;
            ++position_;
        } while (open > 0);
        return true;
    }

    // Type [name] { [GUID] values, objects and references }
    bool object(XObject& out, int depth) {
        if (depth > kMaxDepth) return false;
        out.type = tokens_[position_++].text;
        if (at(XToken::Kind::Name)) out.name = tokens_[position_++].text;
        if (!at(XToken::Kind::OpenBrace)) return false;
        ++position_;
        if (at(XToken::Kind::Guid)) ++position_;
        for (;;) {
            if (position_ == tokens_.size()) return false;
            const XToken& token = tokens_[position_];
            switch (token.kind) {
            case XToken::Kind::CloseBrace:
                ++position_;
                return true;
            case XToken::Kind::NumberText:
            case XToken::Kind::Integer:
            case XToken::Kind::Float:
            case XToken::Kind::String:
                out.values.push_back(token);
                ++position_;
                break;
            case XToken::Kind::Name: {
                XChild child;
                child.object = std::make_unique<XObject>();
                if (!object(*child.object, depth + 1)) return false;
                out.children.push_back(std::move(child));
                break;
            }
            case XToken::Kind::OpenBrace: {
                // { name [GUID] }
                ++position_;
                if (!at(XToken::Kind::Name)) return false;
                XChild child;
                child.reference = tokens_[position_++].text;
                if (at(XToken::Kind::Guid)) ++position_;
                if (!at(XToken::Kind::CloseBrace)) return false;
                ++position_;
                out.children.push_back(std::move(child));
                break;
            }
            case XToken::Kind::Guid:
                return false;
            }
        }
    }

    const std::vector<XToken>& tokens_;
    size_t position_ = 0;
};

}  // namespace

bool parseXObjects(const std::vector<XToken>& tokens, std::vector<XObject>& objects) {
    objects.clear();
    return Parser(tokens).file(objects);
}

}  // namespace velmora::d3dx
