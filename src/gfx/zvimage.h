#pragma once
// CZVImage: one picture that the gateway sends by name, as a GIF, PNG or
// JPEG file inside its answer. The image is a receiver of its own: it asks at
// construction, the answer arrives through the connection manager's polls,
// and windows that asked meanwhile are called back once it is decoded. A
// caller that cannot wait for that may block for a bounded time instead.
#include <cstdint>
#include <memory>

#include "core/zvoblist.h"
#include "core/zvserver.h"
#include "gfx/speed.h"
#include "gfx/zvstring.h"
#include "core/messages/coremessages.h"
#include "core/messages/toolkitmessages.h"

class CDibDC;
class CPaintWindow;

// What an image asks of the window tree and the style object, which live
// further up. The shell installs its object; until then the defaults answer
// as an unloaded style without a main window.
class CZVImageHost {
public:
    virtual ~CZVImageHost() = default;
    // The style object's themed flag.
    virtual bool IsThemed() { return true; }
    // When the waiter is the main window or lies below it, calls its
    // OnImageReady with the picture and gives its answer; -1 when it has left
    // the tree. The waiter may have been deleted since it asked: it must be
    // looked for from the main window down, never reached through itself.
    virtual int NotifyImageReady(CPaintWindow* /*waiter*/, CDibDC* /*picture*/) { return -1; }
};

// The installed host, or the defaults.
CZVImageHost& ImageHost();
// Installs the host (null restores the defaults); returns the previous one.
CZVImageHost* InstallImageHost(CZVImageHost* host);

class CZVImage : public CSocketSink {
public:
    // Request kinds.
    enum { kTinted = 1, kBlended = 2, kPlain = 4, kSkin = 5, kSkin2 = 6 };
    // Answer types of the typed answers.
    enum { kTypeGif = 1, kTypeJpeg = 2, kTypePng = 5 };
    static constexpr uint32_t kFetchTimeout = 15000;

    // Registers with the manager and asks for the picture at once.
    CZVImage(CZVServer& server, CZVString name, COLORREF colour1, COLORREF colour2, int kind, int extraKey,
             int sentValue);
    ~CZVImage() override;

    // 1 when the request went out (or the kind is unknown), 0 when it failed.
    int SendRequest();
    // All six keys equal, the name without regard to case.
    int Matches(CZVString name, COLORREF colour1, COLORREF colour2, int kind, int extraKey, int sentValue) const;
    // The picture (enlarged to at least w x h when both are positive), or
    // null. With a waiter and no picture yet the waiter is called back once
    // it arrives; without one the call blocks for at most kFetchTimeout.
    // An enlargement replaces the picture: pointers handed out before die.
    CDibDC* GetDib(CPaintWindow* waiter, int w, int h);
    // Row length and height of the picture; 0 without one.
    int GetWidth() const;
    int GetHeight() const;

    void OnMessage(CZVMSG* message) override;
    void OnConnect(int connected) override;

    int IsPending() const { return m_pending; }
    const CZVString& GetName() const { return m_name; }
    int GetKind() const { return m_kind; }
    // A GIF answer is decoded with transparency unless cleared before it arrives.
    void SetGifTransparency(int on) { m_gifTransparency = on; }
    int IsPurgeable() const { return m_purgeable; }
    void SetPurgeable(int purgeable) { m_purgeable = purgeable; }
    int GetWaiterCount() const { return m_waiters.GetCount(); }

private:
    void EndRequest();
    // The picture of an answer, or null.
    CDibDC* DecodeAnswer(CZVMSG* message) const;
    int TypeFromName() const;
    void NotifyWaiters();
    void EnlargeTo(int w, int h);

    CZVString m_name;
    COLORREF m_colour1;
    COLORREF m_colour2;
    int m_kind;
    int m_sentValue;
    int m_extraKey;
    std::unique_ptr<CDibDC> m_image;
    int m_pending = 1;
    int m_gifTransparency = 1;
    CZVObList m_waiters;  // CPaintWindow*, not owned
    int m_purgeable = 0;
};
