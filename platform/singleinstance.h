#pragma once

#include <functional>

namespace kugelfon {

// One Kugelfon per user and desktop session: two callers in one hall would
// each draw their own numbers. The first start holds the session; a later
// one asks it to come to the front instead of starting.
class ISingleInstance {
public:
    enum class Claim {
        Held,       // this start runs
        Answered,   // the running one came to the front; this start ends
        Unanswered, // one runs but gave no answer within a few seconds
    };
    virtual ~ISingleInstance() = default;
    virtual Claim claim() = 0;
    // While the session is held: what a later start asks for.
    virtual void setFrontHandler(std::function<void()> handler) = 0;
};

} // namespace kugelfon
