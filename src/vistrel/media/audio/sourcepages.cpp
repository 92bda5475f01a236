#include "vistrel/media/audio/sourcepages.h"

#include <vector>

#include "vistrel/media/audio/audiozonespage.h"
#include "vistrel/shell/customlayoutpage.h"
#include "widgets/text/zvlabel.h"

namespace {

constexpr int kNoticeFormat = 0x12;
constexpr int kWaitingFontSize = 22;
constexpr int kZoneOffFontSize = 30;
constexpr int kFirstMusicType = 3000;
constexpr int kLastMusicType = 3001;

CAudioSourcePage* MakePlainPage(const CSourcePageArgs& a) {
    return new CAudioSourcePage(a.parent, a.owner, a.rect, a.styleClass);
}

// A plain page with a notice over its whole area.
CAudioSourcePage* MakeNoticePage(const CSourcePageArgs& a, const char* text, int fontSize) {
    CAudioSourcePage* page = MakePlainPage(a);
    CZVRect area;
    page->GetClientRect(&area);
    CZVLabel* label = page->AddLabel(area, text, fontSize);
    label->SetTextFormat(kNoticeFormat);
    return page;
}

CAudioSourcePage* MakeWaitingPage(const CSourcePageArgs& a) {
    return MakeNoticePage(a, "Waiting for Media", kWaitingFontSize);
}

CAudioSourcePage* MakeCustomLayoutPage(const CSourcePageArgs& a) {
    return new CCustomLayoutPage(a.parent, a.owner, a.rect, a.styleClass, a.subId);
}

std::vector<CSourcePageRow>& Rows() {
    static std::vector<CSourcePageRow> rows{{kSourceWaiting, MakeWaitingPage},
                                            {kSourceCustomLayout, MakeCustomLayoutPage}};
    return rows;
}

}  // namespace

void RegisterSourcePages(std::span<const CSourcePageRow> rows) {
    for (const CSourcePageRow& row : rows) {
        bool replaced = false;
        for (CSourcePageRow& known : Rows())
            if (known.type == row.type) {
                known = row;
                replaced = true;
            }
        if (!replaced) Rows().push_back(row);
    }
}

CAudioSourcePage* MakeSourcePage(const CSourcePageArgs& args) {
    if (args.kindWord == kNoSourceKind) return MakeNoticePage(args, "Zone Off", kZoneOffFontSize);
    const int type = SourcePageType(args.kindWord);
    for (const CSourcePageRow& row : Rows())
        if (row.type == type)
            if (CAudioSourcePage* page = row.make(args)) return page;
    return MakePlainPage(args);
}

bool IsSameSourceType(int a, int b) {
    if (a == b) return true;
    const auto music = [](int word) {
        const int type = SourcePageType(word);
        return type >= kFirstMusicType && type <= kLastMusicType;
    };
    return music(a) && music(b) && (a & ~0xFFFF) == (b & ~0xFFFF);
}
