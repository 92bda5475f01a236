#pragma once
// CCallInProgress: the call in progress as a phone page shows it: who calls,
// asked for when the page loads and told by the gateway's caller id, and the
// call's audio that the gateway announces. The two facts are bits of the
// page's own state word, beside its other states, so that whatever clears
// the page's state clears them too.
#include <string>

#include "core/zvserver.h"
#include "widgets/window/zvwindow.h"

class CCallInProgress {
public:
    // What a message meant to the call.
    enum class Notice {
        kOther,       // no call notice: the page handles it
        kNothingNew,  // an incoming call (the page's tab subscribes again), or a notice too short to read
        kCaller,      // the caller shows
        kAudio,       // the call's audio plays
    };
    static constexpr char kIncomingLine[] = "Incoming call:";

    // `state` is the page's state word; `callerShown` and `callAudio` are its bits for the facts.
    CCallInProgress(int& state, int callerShown, int callAudio)
        : m_state(state), m_callerShown(callerShown), m_callAudio(callAudio) {}

    // Asks the gateway who calls now; the caller shows when someone does.
    void Ask(CZVServer& server);
    // Reads a notice sent to `page`, read from its start: an incoming call makes the page's tab
    // subscribe again (unless input is held back from the page), a caller id shows the caller,
    // call audio starts the player on the announced format.
    Notice Read(CZVMSG& message, CZVWindow* page);
    // The call is over: no caller shown, no call audio.
    void End() { m_state &= ~(m_callerShown | m_callAudio); }

    bool CallerShown() const { return (m_state & m_callerShown) != 0; }
    // "name (number)" of the caller, each "Unknown" when the gateway did not tell it.
    std::string CallerText() const;

private:
    int& m_state;
    const int m_callerShown;
    const int m_callAudio;
    std::string m_number;
    std::string m_name;
};
