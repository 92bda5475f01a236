#pragma once
// A short sound that the gateway supplies by name. This stand-in keeps the
// name, which the style object looks clips up by, and plays nothing until
// the audio code takes over: Play answers 0 as for a clip still loading.
#include "gfx/zvstring.h"

class CSoundClip {
public:
    explicit CSoundClip(CZVString name) : m_name(name) {}
    virtual ~CSoundClip() = default;

    const CZVString& GetName() const { return m_name; }
    // 1 when the clip played; 0 while it has nothing to play.
    virtual int Play(int) {
        ++m_requests;
        return 0;
    }
    // How often the clip was asked to play.
    int GetPlayRequests() const { return m_requests; }

private:
    CZVString m_name;
    int m_requests = 0;
};
