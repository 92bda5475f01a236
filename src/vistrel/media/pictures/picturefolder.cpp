#include "vistrel/media/pictures/picturefolder.h"

#include <algorithm>
#include <string>

#include "core/messages/shellmessages.h"
#include "core/msgreader.h"
#include "gfx/jpegdecode.h"
#include "gfx/picturelimits.h"
#include "gfx/speed.h"
#include "gfx/zvdc.h"
#include "platform/clock.h"
#include "widgets/buttons/iconbutton.h"
#include "widgets/style/setserver.h"
#include "widgets/style/skins.h"
#include "widgets/window/zvwindow.h"

namespace {

constexpr COLORREF kPictureBackground = 0x323232;
constexpr COLORREF kButtonGrey = 0x808080;
constexpr int kSkinFlag = 0x40000;
// The smallest record: id, empty name, two counts.
constexpr int32_t kMinFolderRecord = 16;
// The smallest picture name on the wire: its count alone.
constexpr int32_t kMinName = 4;

uint32_t SurfaceBytes(const CDibDC* surface) {
    if (!surface) return 0;
    auto* s = const_cast<CDibDC*>(surface);
    return 2u * static_cast<uint32_t>(s->GetWidth()) * static_cast<uint32_t>(s->GetHeight());
}

COLORREF StyleColor(int styleClass, int index) {
    CSetServer* style = CSetServer::Get();
    return style ? style->GetStyleColor(styleClass, index) : 0;
}

}  // namespace

// ---- CPictureItem

CPictureItem::CPictureItem(CPictureFolder* folder, CZVString name, int index)
    : CSocketSink(folder->GetServer()),
      m_folder(folder),
      m_index(index),
      m_name(name),
      m_pictureTick(platform::GetTickCount()) {}

CPictureItem::~CPictureItem() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

int CPictureItem::GetPending() const {
    if (m_pending != kPictureNone && platform::TicksSince(m_requestTick) >= kAnswerWaitMs) return kPictureNone;
    return m_pending;
}

void CPictureItem::EndWait() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
    m_pending = kPictureNone;
}

void CPictureItem::Request(int width, int height, int kind) {
    if (GetPending() != kPictureNone) return;
    CZVServer* server = GetServer();
    if (!server) return;
    // A request past its wait is given up before the next one goes out.
    EndWait();
    // The id is drawn now, while the item waits, so that a tree rebuilt
    // often never holds ids that live sinks or the reserved ids use.
    RenewId();
    server->RegisterSink(this);
    CZVMSG message(GetId(), static_cast<uint16_t>(m_folder->GetRequestId()));
    for (int32_t value :
         {static_cast<int32_t>(GetId()), width, height, m_folder->GetFolderId(), m_index, m_folder->GetRequestFlag()})
        message.WriteInt(value);
    m_pending = kind;
    m_requestTick = platform::GetTickCount();
    server->Send(&message);
}

std::unique_ptr<CDibDC> CPictureItem::Decode(int width, int height, const uint8_t* jpeg, size_t size) {
    if (!WithinPictureLimits(width, height)) return nullptr;
    auto surface = std::make_unique<CDibDC>(width, height, 0, 0, 0);
    if (!surface->GetBits()) return nullptr;
    if (!DecodeJpeg(jpeg, size, surface->GetBits(), surface->GetWidth(), surface->GetHeight(), 1)) return nullptr;
    return surface;
}

void CPictureItem::OnMessage(CZVMSG* message) {
    if (message->GetId() != ZVM_PICTURES_PICTURE) return;
    message->ResetPosition();
    int32_t width = 0;
    int32_t height = 0;
    if (!CMsgReader(*message).Int(width).Int(height)) return;
    const int pending = m_pending;
    // Any answer ends the wait, whether or not it finds an image to fill.
    EndWait();
    const bool wantsPicture = pending == kPictureFull && !m_picture;
    const bool wantsThumbnail = pending == kPictureThumbnail && !m_thumbnail;
    if (!wantsPicture && !wantsThumbnail) return;
    // A failed decode keeps nothing, so the item may ask again.
    std::unique_ptr<CDibDC> surface =
        Decode(width, height, message->GetUnread(), static_cast<size_t>(message->GetRemaining()));
    if (!surface) return;
    if (wantsPicture) {
        m_picture = std::move(surface);
        m_pictureTick = platform::GetTickCount();
    } else {
        m_thumbnail = std::move(surface);
    }
    if (auto* listener = dynamic_cast<CPictureItemListener*>(m_owner)) listener->OnItemLoaded(this, wantsPicture);
}

void CPictureItem::EnsurePicture(int width, int height) {
    if (m_picture && (m_picture->GetRequestedWidth() != width || m_picture->GetHeight() != height)) FreePicture();
    if (!m_picture) Request(width, height, kPictureFull);
}

uint32_t CPictureItem::GetPictureAge() const { return m_picture ? platform::TicksSince(m_pictureTick) : 0; }

int CPictureItem::IsOlderThan(const CPictureItem* other) const {
    if (!m_picture) return 0;
    if (!other) return 1;
    return other->GetPictureAge() < GetPictureAge() ? 1 : 0;
}

int CPictureItem::GetMemoryBytes() const {
    return static_cast<int>(SurfaceBytes(m_thumbnail.get()) + SurfaceBytes(m_picture.get()));
}

int CPictureItem::DrawItem(CZVWindow* owner, CZVDC* dc, CZVRect cell, CZVRect image, CZVRect caption, COLORREF frame,
                           int mode) {
    if (mode >= kDrawButton && mode <= kDrawButtonLight) return DrawButtonMode(owner, dc, cell, image, caption, mode);
    return DrawImageMode(owner, dc, image, caption, frame, mode);
}

int CPictureItem::DrawImageMode(CZVWindow* owner, CZVDC* dc, CZVRect image, CZVRect caption, COLORREF frame, int mode) {
    CDibDC* surface = mode == kDrawPicture ? m_picture.get() : m_thumbnail.get();
    if (mode == kDrawPicture && surface) dc->FillRectRect(kPictureBackground, image, 0);
    if (surface) {
        const int x = image.x + image.w / 2 - surface->GetRequestedWidth() / 2;
        const int y = image.y + image.h / 2 - surface->GetHeight() / 2;
        dc->BitBlt(x, y, surface, 0, 0, surface->GetRequestedWidth(), surface->GetHeight());
        if (mode != kDrawPicture) {
            image = CZVRect(x, y, surface->GetRequestedWidth(), surface->GetHeight());
            dc->FrameRect(frame, image.x - 1, image.y - 1, image.w + 2, image.h + 2);
            if (m_highlighted)
                for (int out = 2; out <= 3; ++out)
                    dc->FrameRect(m_highlightColor, image.x - out, image.y - out, image.w + 2 * out, image.h + 2 * out);
        }
    } else if (mode == kDrawPicture) {
        dc->FillRectRect(0, image, 0);
        dc->SetColor(StyleColor(6, 1));
        dc->SetFont(22, 0, 1);
        dc->DrawText("Loading Please Wait...", caption, 0x12);
    }
    if (mode != kDrawFramedBare && mode != kDrawPicture && caption.w > 0 && caption.h > 0) {
        dc->SetColor(StyleColor(11, 1));
        dc->SetFont(12, 0, 1);
        int lines = 2;
        dc->DrawText(dc->WrapTextCopy(m_name, image.w, 8, &lines), caption, 0x12);
    }
    if (surface) return 1;
    Request(image.w, image.h, mode == kDrawPicture ? kPictureFull : kPictureThumbnail);
    m_owner = owner;
    return 0;
}

int CPictureItem::DrawButtonMode(CZVWindow* owner, CZVDC* dc, CZVRect cell, CZVRect image, CZVRect caption, int mode) {
    int w = cell.w;
    int h = cell.h;
    COLORREF colour = owner->GetBackColor();
    if (mode == kDrawThumbButton) {
        colour = kButtonGrey;
        if (m_thumbnail) {
            w = m_thumbnail->GetRequestedWidth();
            h = m_thumbnail->GetHeight();
        }
    }
    if (w <= 0 || h <= 0) return 1;
    CDibDC face(w, h, 0, 0, 0);
    face.FillRect(colour, 0, 0, w, h, 0);
    image.Offset(-cell.x, -cell.y);
    caption.Offset(-cell.x, -cell.y);
    int x = cell.x;
    int y = cell.y;
    if (mode == kDrawThumbButton) {
        DrawImageMode(owner, &face, CZVRect(0, 0, w, h), caption, kButtonGrey, kDrawFramed);
        x = cell.x + cell.w / 2 - w / 2;
        y = cell.y + cell.h / 2 - h / 2;
    } else {
        DrawImageMode(owner, &face, image, caption, owner->GetBackColor(), kDrawFramed);
    }
    const bool skinned = (CSetServer::CurrentFlags() & kSkinFlag) != 0;
    CIconButton button(owner, CZVRect(0, 0, w, h), -1, 16, &face);
    const int grey = mode == kDrawButtonLight ? 200 : (IsLightColor(colour) ? 120 : 150);
    button.SetGreyLevel(static_cast<uint8_t>(grey));
    button.SetMargin(0);
    button.SetCornerRadius(0);
    button.SetBevel(w / 8);
    CDibDC* normal = button.GetNormalImage();
    if (!normal) return 1;
    if (skinned && mode != kDrawThumbButton)
        Skins().DrawWithSkin(dc, normal, owner->ToRootX(x), owner->ToRootY(y), x, y, w, h, 0);
    else
        Skins().DrawImage(dc, normal, x, y, w, h, 0);
    return 1;
}

// ---- CPictureFolder

CPictureFolder::CPictureFolder(CZVServer& server) : m_server(server) {}

CPictureFolder::CPictureFolder(CPictureFolder* parent) : m_server(parent->m_server), m_parent(parent) {}

CPictureFolder::CPictureFolder(CZVServer& server, int32_t folderId, int32_t requestId, int32_t flag)
    : m_server(server), m_id(folderId), m_requestId(requestId), m_requestFlag(flag) {}

CPictureFolder::~CPictureFolder() {
    m_pictures.clear();
    m_subFolders.clear();
}

CPictureFolder* CPictureFolder::GetRoot() {
    CPictureFolder* folder = this;
    while (folder->m_parent) folder = folder->m_parent;
    return folder;
}

int CPictureFolder::Depth() const {
    int depth = 0;
    for (const CPictureFolder* folder = m_parent; folder; folder = folder->m_parent) ++depth;
    return depth;
}

int CPictureFolder::Read(CZVMSG* message) { return ReadRecord(message, Depth()); }

CPictureItem* CPictureFolder::AddPicture(CZVString name) { return AddPicture(name, GetPictureCount()); }

CPictureItem* CPictureFolder::AddPicture(CZVString name, int index) {
    m_pictures.push_back(std::make_unique<CPictureItem>(this, name, index));
    return m_pictures.back().get();
}

int CPictureFolder::ReadRecord(CZVMSG* message, int depth) {
    if (depth > kMaxDepth) return 0;
    std::string name;
    int32_t id = 0;
    int32_t count = 0;
    if (!CMsgReader(*message).Int(id)) return 0;
    m_id = id;
    if (!CMsgReader(*message).String(name)) return 0;
    m_name = CZVString(name.c_str());
    if (!CMsgReader(*message).Int(count)) return 0;
    const int picturesWhole = ReadRecords(*message, count, kMinName, [&](int) {
        std::string pictureName;
        if (!message->ReadString(pictureName)) return false;
        AddPicture(CZVString(pictureName.c_str()));
        return true;
    });
    if (!picturesWhole || !CMsgReader(*message).Int(count)) return 0;
    return ReadRecords(*message, count, kMinFolderRecord, [&](int) {
        auto folder = std::make_unique<CPictureFolder>(this);
        const int whole = folder->ReadRecord(message, depth + 1);
        // A sub-album refused for its depth is left out; a cut one keeps what it read.
        if (depth + 1 <= kMaxDepth) m_subFolders.push_back(std::move(folder));
        return whole != 0;
    });
}

CPictureItem* CPictureFolder::GetPicture(int index) const {
    return index >= 0 && index < GetPictureCount() ? m_pictures[static_cast<size_t>(index)].get() : nullptr;
}

CPictureFolder* CPictureFolder::GetSubFolder(int index) const {
    return index >= 0 && index < GetSubFolderCount() ? m_subFolders[static_cast<size_t>(index)].get() : nullptr;
}

int CPictureFolder::IndexOf(const CPictureItem* item) const {
    for (int i = 0; i < GetPictureCount(); ++i)
        if (m_pictures[static_cast<size_t>(i)].get() == item) return i;
    return -1;
}

uint32_t CPictureFolder::GetTotalBytes() const {
    uint32_t total = 0;
    for (const auto& item : m_pictures) total += static_cast<uint32_t>(item->GetMemoryBytes());
    for (const auto& folder : m_subFolders) total += folder->GetTotalBytes();
    return total;
}

CPictureItem* CPictureFolder::FindOldestPicture(CPictureItem* candidate) const {
    for (const auto& item : m_pictures)
        if (item->IsOlderThan(candidate)) candidate = item.get();
    for (const auto& folder : m_subFolders) candidate = folder->FindOldestPicture(candidate);
    return candidate;
}

void CPictureFolder::FreeAllPictures() {
    for (const auto& item : m_pictures) item->FreePicture();
    for (const auto& folder : m_subFolders) folder->FreeAllPictures();
}
