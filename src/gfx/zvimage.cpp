#include "gfx/zvimage.h"

#include "gfx/dibdc.h"
#include "gfx/gifdecode.h"
#include "gfx/jpegdecode.h"
#include "gfx/picturelimits.h"
#include "gfx/pngdecode.h"
#include "gfx/ticks.h"
#include "platform/clock.h"
#include "platform/report.h"

namespace {

constexpr const char* kSource = "zvimage";

CZVImageHost g_defaultHost;
CZVImageHost* g_installedHost = nullptr;

// The file starts after these many integers of the answer.
int HeaderInts(uint16_t id) {
    switch (id) {
    case ZVM_IMAGE_GETTINTEDA:
    case ZVM_IMAGE_GETBLENDEDA:
    case ZVM_IMAGE_IMAGEDATA: return 3;
    case ZVM_IMAGE_GETPLAINA:
    case ZVM_IMAGE_GETSKINA:
    case ZVM_IMAGE_GETSKIN2A: return 4;
    default: return 0;
    }
}

}  // namespace

CZVImageHost& ImageHost() { return g_installedHost ? *g_installedHost : g_defaultHost; }

CZVImageHost* InstallImageHost(CZVImageHost* host) {
    CZVImageHost* previous = g_installedHost;
    g_installedHost = host;
    return previous;
}

CZVImage::CZVImage(CZVServer& server, CZVString name, COLORREF colour1, COLORREF colour2, int kind, int extraKey,
                   int sentValue)
    : CSocketSink(server),
      m_name(name),
      m_colour1(colour1),
      m_colour2(colour2),
      m_kind(kind),
      m_sentValue(sentValue),
      m_extraKey(extraKey) {
    SetBusy(1);
    server.RegisterSink(this);
    if (!SendRequest()) {
        m_pending = 0;
        SetBusy(0);
    }
}

// The base unregisters the sink if no answer did.
CZVImage::~CZVImage() = default;

int CZVImage::SendRequest() {
    CZVServer* server = GetServer();
    CZVString name = m_name;
    const bool themed = ImageHost().IsThemed();
    uint16_t id;
    switch (m_kind) {
    case kTinted: id = ZVM_IMAGE_GETTINTEDQ; break;
    case kBlended: id = ZVM_IMAGE_GETBLENDEDQ; break;
    case kPlain: id = ZVM_IMAGE_GETPLAINQ; break;
    case kSkin: id = themed ? ZVM_IMAGE_GETSKINQ : ZVM_IMAGE_GETTINTEDQ; break;
    case kSkin2: id = themed ? ZVM_IMAGE_GETSKIN2Q : ZVM_IMAGE_GETTINTEDQ; break;
    default: ReportAssert(kSource, 414, 1); return 1;
    }
    CZVMSG request(GetId(), id);
    request.WriteString(name.GetAnsi());
    if (m_kind == kTinted || m_kind == kBlended) {
        request.WriteColor(m_colour1);
        if (m_kind == kBlended) request.WriteColor(m_colour2);
        request.WriteInt(m_sentValue);
    }
    return server && server->Send(&request);
}

int CZVImage::Matches(CZVString name, COLORREF colour1, COLORREF colour2, int kind, int extraKey, int sentValue) const {
    return m_name.CompareNoCase(name) == 0 && m_colour1 == colour1 && m_colour2 == colour2 && m_kind == kind &&
           m_extraKey == extraKey && m_sentValue == sentValue;
}

void CZVImage::EnlargeTo(int w, int h) {
    if (w <= 0 || h <= 0 || !m_image) return;
    if (m_image->GetWidth() >= w && m_image->GetHeight() >= h) return;
    if (CDibDC* larger = m_image->ScaleNearest(w, h)) m_image.reset(larger);
}

CDibDC* CZVImage::GetDib(CPaintWindow* waiter, int w, int h) {
    if (m_image) {
        EnlargeTo(w, h);
        return m_image.get();
    }
    CZVServer* server = GetServer();
    if (!server || !server->IsConnected() || !m_pending) return nullptr;
    if (waiter) {
        if (!m_waiters.Contains(waiter)) m_waiters.AddTail(waiter);
        return nullptr;
    }
    const uint32_t start = platform::GetTickCount();
    while (TicksSince(&start) < kFetchTimeout && !m_image && m_pending) {
        const int polled = server->Poll(nullptr, GetId());
        if (polled == CZVServer::kPollDown) return nullptr;
        if (polled == CZVServer::kPollIdle) platform::Sleep(10);
        if (!server->IsConnected()) return nullptr;
    }
    EnlargeTo(w, h);
    return m_image.get();
}

int CZVImage::GetWidth() const { return m_image ? m_image->GetWidth() : 0; }

int CZVImage::GetHeight() const { return m_image ? m_image->GetHeight() : 0; }

void CZVImage::EndRequest() {
    m_pending = 0;
    SetBusy(0);
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

int CZVImage::TypeFromName() const {
    if (m_name.Right(3).CompareNoCase("PNG") == 0) return kTypePng;
    if (m_name.Right(3).CompareNoCase("JPG") == 0 || m_name.Right(4).CompareNoCase("JPEG") == 0) return kTypeJpeg;
    return kTypeGif;
}

CDibDC* CZVImage::DecodeAnswer(CZVMSG* message) const {
    int32_t type = TypeFromName(), width = 0, height = 0, length = 0;
    const int typed = HeaderInts(message->GetId()) == 4;
    message->ResetPosition();
    if ((typed && !message->ReadInt(type)) || !message->ReadInt(width) || !message->ReadInt(height) ||
        !message->ReadInt(length))
        return nullptr;
    // The file is what the answer holds, whatever its length field claims.
    if (length < 0 || length > message->GetRemaining()) return nullptr;
    const uint8_t* file = message->GetUnread();
    switch (type) {
    case kTypeGif: return DecodeGif(file, static_cast<size_t>(length), m_gifTransparency != 0);
    case kTypePng: return DecodePng(file, static_cast<size_t>(length));
    case kTypeJpeg: {
        if (!WithinPictureLimits(width, height)) return nullptr;
        auto dib = std::make_unique<CDibDC>(width, height, 0, 0, 0);
        if (!dib->GetBits() ||
            !DecodeJpeg(file, static_cast<size_t>(length), dib->GetBits(), dib->GetWidth(), dib->GetHeight(), 1))
            return nullptr;
        return dib.release();
    }
    default: return nullptr;
    }
}

// Every waiter gets the picture, whatever the others answer: each window
// shows it on its own.
void CZVImage::NotifyWaiters() {
    ZVPOSITION position = m_waiters.GetHeadPosition();
    while (position) {
        auto* waiter = static_cast<CPaintWindow*>(m_waiters.GetNext(position));
        ImageHost().NotifyImageReady(waiter, m_image.get());
    }
}

void CZVImage::OnMessage(CZVMSG* message) {
    const uint16_t id = message->GetId();
    if (id == ZVM_SESSION_NODATA || id == ZVM_SESSION_ERROR) {
        EndRequest();
        return;
    }
    if (HeaderInts(id) == 0) return;
    if (m_image) ReportAssert(kSource, 105, 1);
    m_pending = 0;
    SetBusy(0);
    m_image.reset(DecodeAnswer(message));
    EndRequest();
    if (m_image) NotifyWaiters();
}

void CZVImage::OnConnect(int connected) {
    if (!connected) {
        m_pending = 0;
        return;
    }
    // Asked again, the picture is on its way: callers wait for it again.
    if (m_pending || m_image || !SendRequest()) return;
    m_pending = 1;
    SetBusy(1);
}
