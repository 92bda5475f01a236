#include "vistrel/media/softkeys/softkeypage.h"

#include <string>

#include "core/messages/mediamessages.h"
#include "core/msgreader.h"
#include "core/zvmsg.h"
#include "gfx/speed.h"
#include "vistrel/media/audio/audiozonespage.h"
#include "vistrel/media/audio/sourcepages.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/regions/rregion.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/gateway.h"

namespace {

constexpr int kButtonClass = 18;
// "PAGE" counts no further than the page numbers the wire can carry.
constexpr int kLastPage = 0x7FFFFFFF;
constexpr int kPanelRadius = 40;
constexpr int kPanelBevel = 20;
constexpr double kKeypadAspect = 1.3;
constexpr double kKeypadHeightPerWidth = 0.7692308;
constexpr int kKeypadMargin = 40;
constexpr int kTitleBand = 55;
constexpr int kButtonBand = 45;
constexpr int kKeyAreaGap = 4;
constexpr double kKeyAreaWidth = 0.77;
constexpr int kKeyRows = 6;
constexpr int kKeyTopInset = 7;
constexpr int kInnerGap = 10;
constexpr double kInnerPanelShade = 1.2;
constexpr int kTitleFont = 18;
constexpr int kCaptionFont = 14;
constexpr int kLeftMiddle = 0x11;
constexpr int kCentreMiddle = 0x12;
constexpr int kRightMiddle = 0x14;
constexpr const char* kPlaceholders[CSoftKeyPage::kKeyCount] = {"TEST1", "TEST2", "TEST3", "TEST4", "TEST5",
                                                                "TEST6", "TEST7", "TEST8", "TEST9", "TEST0"};

// The keypad's area: centred in the content, 1.3 times as wide as high.
CZVRect KeypadRect(const CZVRect& content) {
    int width = 0;
    int height = 0;
    if (content.h > 0 && static_cast<double>(content.w) / content.h < kKeypadAspect) {
        width = content.w - kKeypadMargin;
        height = static_cast<int>(width * kKeypadHeightPerWidth);
    } else {
        height = content.h - kKeypadMargin;
        width = static_cast<int>(height * kKeypadAspect);
    }
    return {content.x + (content.w - width) / 2, content.y + (content.h - height) / 2, width, height};
}

// A rounded panel a little lighter than the page's panel.
CRRegion* AddInnerPanel(CZVWindow* parent, CZVRect rect, COLORREF outerFace) {
    auto* panel = new CRRegion(parent, rect, parent->GetStyleClass());
    panel->SetFaceColor(ScaleColor(kInnerPanelShade, outerFace));
    parent->AddChild(panel);
    return panel;
}

CAudioSourcePage* MakeSoftKeyPage(const CSourcePageArgs& a) {
    auto* zones = dynamic_cast<CAudioZonesPage*>(a.owner);
    return new CSoftKeyPage(a.parent, a.owner, a.rect, a.styleClass, zones ? zones->GetSourceName() : CZVString(""));
}

}  // namespace

CSoftKeyPage::CSoftKeyPage(CZVWindow* parent, CAudioSourceOwner* owner, CZVRect rect, int styleClass,
                           CZVString sourceName)
    : CAudioSourcePage(parent, owner, rect, styleClass) {
    Build(sourceName);
    RequestKeys(kFirstList, 0);
}

void CSoftKeyPage::Build(CZVString sourceName) {
    CZVRect page;
    GetClientRect(&page);
    auto* outer = new CRRegion(this, CZVRect(5, 5, page.w - 9, page.h - 9), GetStyleClass());
    outer->SetShape(kPanelRadius, kPanelBevel, 0);
    AddChild(outer);
    CZVRect content;
    outer->GetContentRectWide(&content);
    const CZVRect pad = KeypadRect(content);

    // The key area, centred across the keypad.
    const int keysWidth = static_cast<int>(kKeyAreaWidth * pad.w);
    CZVRect keys{pad.x + (pad.w - keysWidth) / 2, pad.y + kTitleBand + kKeyAreaGap, keysWidth,
                 pad.h - kTitleBand - kKeyAreaGap - kButtonBand};
    const int step = keys.h / kKeyRows;
    const int keyHeight = step - kInnerGap;
    const int keyWidth = keyHeight * 3 / 2;
    const int rows = kKeyCount / 2;
    for (int i = 0; i < kKeyCount; ++i) {
        const int row = i % rows;
        const int x = i < rows ? keys.x + keys.w - keyWidth : keys.x;
        CZVRect key{x, keys.y + kKeyTopInset + row * step, keyWidth, keyHeight};
        CZV3DButton* button = outer->Add3DButton(key, kFirstKey + i, kButtonClass, " ", m_keys[0]);
        if (i == 0) button->MakeRound();
        m_keys[static_cast<size_t>(i)] = button;
    }

    const COLORREF face = outer->GetFaceColor();
    CZVRect middle{keys.x + keyWidth + kInnerGap, keys.y, keys.w - 2 * (keyWidth + kInnerGap), keys.h};
    CRRegion* captions = AddInnerPanel(outer, middle, face);
    CZVRect inside;
    captions->GetInsetRect(&inside);
    const CZVRect left = inside.Column(0, 2, kInnerGap);
    const CZVRect right = inside.Column(1, 2, kInnerGap);
    for (int i = 0; i < kKeyCount; ++i) {
        const int row = i % rows;
        const CZVRect& column = i < rows ? right : left;
        // Beside its key: the key rows are measured from the key area's top.
        CZVRect line{column.x, keys.y - middle.y + kKeyTopInset + row * step, column.w, keyHeight};
        CZVLabel* caption = captions->AddLabel(line, kPlaceholders[i], kCaptionFont);
        caption->SetTextFormat(i < rows ? kRightMiddle : kLeftMiddle);
        m_captions[static_cast<size_t>(i)] = caption;
    }
    CZVRect pageLine{inside.x, keys.y - middle.y + kKeyTopInset + rows * step, inside.w, keyHeight};
    m_pageLabel = captions->AddLabel(pageLine, "Page 0", kCaptionFont);
    m_pageLabel->SetTextFormat(kCentreMiddle);

    CRRegion* titlePanel = AddInnerPanel(outer, CZVRect(keys.x, pad.y, keys.w, kTitleBand), face);
    CZVRect titleArea;
    titlePanel->GetInsetRect(&titleArea);
    m_title = titlePanel->AddLabel(titleArea, sourceName, kTitleFont);
    m_title->SetTextFormat(kCentreMiddle);

    const CZVRect band{keys.x, pad.y + pad.h - kButtonBand + kInnerGap / 2, keys.w, kButtonBand - kInnerGap / 2};
    outer->Add3DButton(band.Column(0, 3, kInnerGap), kPageButton, kButtonClass, "PAGE", nullptr);
    outer->Add3DButton(band.Column(1, 3, kInnerGap), kChannelUp, kButtonClass, "CH +", nullptr);
    outer->Add3DButton(band.Column(2, 3, kInnerGap), kChannelDown, kButtonClass, "CH -", nullptr);
}

void CSoftKeyPage::RequestKeys(int listId, int page) {
    SendToGateway(ZVM_AUDIO_GETSOFTKEYSQ, {GetZone(), listId, page}, static_cast<uint16_t>(GetOwnerSinkId()));
}

void CSoftKeyPage::SendKey(int code) {
    SendToGateway(ZVM_AUDIO_SOURCECOMMAND, {GetZone(), code, m_listId, m_page},
                  static_cast<uint16_t>(GetOwnerSinkId()));
}

int CSoftKeyPage::OnCommand(int id) {
    if (id >= kFirstKey && id < kFirstKey + kKeyCount) {
        SendKey(kFirstKeyCode + id - kFirstKey);
    } else if (id == kChannelUp) {
        SendKey(kChannelUpCode);
    } else if (id == kChannelDown) {
        SendKey(kChannelDownCode);
    } else if (id == kPageButton) {
        if (m_page < kLastPage) ++m_page;
        RequestKeys(m_listId, m_page);
    }
    return 1;
}

void CSoftKeyPage::OnSourceMessage(CZVMSG* message, int visible) {
    if (message->GetId() == ZVM_AUDIO_ZONECHANGED) {
        RequestKeys(kFirstList, 0);
    } else if (message->GetId() == ZVM_AUDIO_GETSOFTKEYSA) {
        message->ResetPosition();
        TakeKeys(message, visible);
    }
}

void CSoftKeyPage::TakeKeys(CZVMSG* message, int redraw) {
    std::string title;
    int32_t listId = 0;
    int32_t page = 0;
    if (!CMsgReader(*message).String(title).Int(listId).Int(page)) return;
    m_title->SetText(title.c_str(), nullptr, redraw);
    m_listId = listId;
    m_page = page;
    ShowPageNumber(redraw);
    for (CZVLabel* caption : m_captions) {
        std::string text;
        if (!message->ReadString(text)) break;
        caption->SetText(text.c_str(), nullptr, redraw);
    }
}

void CSoftKeyPage::ShowPageNumber(int redraw) {
    CZVString text;
    text.Format("Page %lld", static_cast<long long>(m_page) + 1);
    m_pageLabel->SetText(text, nullptr, redraw);
}

void RegisterSoftKeyPage() {
    static constexpr CSourcePageRow kRows[] = {{kSourceSoftKeys, MakeSoftKeyPage}};
    RegisterSourcePages(kRows);
}
