#include "widgets/buttons/iconsource.h"

#include <memory>

#include "gfx/icon.h"

namespace {

class CButtonZVIcon : public CButtonIcon {
public:
    explicit CButtonZVIcon(CZVIcon* icon) : m_icon(icon) {}

    CButtonIcon* Clone() const override {
        CZVIcon* copy = m_icon->Clone();
        if (!copy) return nullptr;
        // A copy of an icon that still asks for itself waits on it.
        CZVIcon* source = m_icon->GetSource();
        if (!source && m_icon->GetState() == CZVIcon::kAsked) source = m_icon.get();
        copy->SetSource(source);
        return new CButtonZVIcon(copy);
    }
    void Draw(CPaintWindow* owner, CZVDC* dc, CZVRect rect, COLORREF back, int greyed) override {
        m_icon->Draw(owner, dc, back, rect, greyed ? static_cast<int>(CZVIcon::kDisabled) : 0, nullptr);
    }
    void DrawTinted(CPaintWindow* owner, CZVDC* dc, CZVRect rect, COLORREF back, const uint8_t* tint) override {
        m_icon->Draw(owner, dc, back, rect, 0, tint);
    }
    int IsRequestPending() const override { return Shared()->GetState() == CZVIcon::kAsked; }
    void Refresh() override {
        if (Shared()->GetState() == CZVIcon::kNotRequested) Shared()->Request();
    }

private:
    // The icon that asks the gateway: the shared one while this is a copy.
    CZVIcon* Shared() const { return m_icon->GetSource() ? m_icon->GetSource() : m_icon.get(); }

    std::unique_ptr<CZVIcon> m_icon;
};

}  // namespace

CButtonIcon* CGatewayIconSource::MakeStock(int kind, COLORREF colour) {
    auto* icon = new CZVIcon(m_server);
    icon->MakeStock(kind, colour);
    return new CButtonZVIcon(icon);
}

CButtonIcon* CGatewayIconSource::MakeNamed(const CZVString& name) {
    CIconCache* cache = CIconCache::Instance();
    if (!cache) {
        auto* icon = new CZVIcon(m_server);
        icon->Load(name);
        return new CButtonZVIcon(icon);
    }
    CZVIcon* shared = cache->GetIcon(name);
    CZVIcon* copy = shared->Clone();
    if (!copy) return nullptr;
    copy->SetSource(shared);
    return new CButtonZVIcon(copy);
}
