// Something that takes part in a child's session second by second besides the usage rules (for
// example a limit on the time a single program may be in front): it joins the session and is told
// of each counted second, with the session's answers at hand.
#pragma once

class CChildSession;

class ISessionParticipant {
public:
    virtual ~ISessionParticipant() = default;
    // nSeconds were counted (the usage rules have run for them already); the session answers
    // whether the computer may be used now, whether the total is used up and whether now lies
    // inside the permitted period.
    virtual void OnSeconds(const CChildSession& session, int nSeconds) = 0;
};
