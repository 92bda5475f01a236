#include "vistrel/media/audio/sourceselwnd.h"

#include <algorithm>

#include "platform/report.h"
#include "vistrel/shell/tabletmain.h"
#include "widgets/regions/rregionradio.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr const char* kSource = "sourceselwnd";
constexpr const char* kArrowIcon = "TRANSPORT\\ICON32_UP_ARROW_GREEN";
constexpr int kListIconLayout = 9;
constexpr int kListIconFontSize = 28;
constexpr int kIconFontSize = 16;

int CaptionFontSize() { return PickByScreenHeight(600, 18, 20); }

bool SameSource(const CAudioSource& a, const CAudioSource& b) {
    return a.id == b.id && a.kind == b.kind && a.name.Compare(b.name) == 0 && a.iconName.Compare(b.iconName) == 0;
}

}  // namespace

// ---- CSourceSelWnd

CSourceSelWnd::CSourceSelWnd(CZVWindow* parent, CZVRect rect, int commandId)
    : CZVWindow(parent, rect, 0), m_commandId(commandId) {
    if (parent) {
        SetFaceColor(parent->GetFaceColor());
        SetBackColor(parent->GetFaceColor());
    }
}

CSourceSelWnd::~CSourceSelWnd() {
    for (CZVCheckButton* option : m_options) {
        if (CZVWindow* parent = option->GetParent()) parent->RemoveChild(option);
        delete option;
    }
}

const CSourceOption* CSourceSelWnd::GetSelectedItem() const {
    for (size_t i = 0; i < m_options.size(); ++i)
        if (m_options[i]->GetCheck()) return m_records[i].get();
    return nullptr;
}

bool CSourceSelWnd::IsSameSourceList(const CAudioZone* zone) const {
    if (!zone || !m_built || m_builtWithOff != (zone->GetId() > 0)) return false;
    if (static_cast<int>(m_builtSources.size()) != zone->GetSourceCount()) return false;
    for (int i = 0; i < zone->GetSourceCount(); ++i)
        if (!SameSource(m_builtSources[static_cast<size_t>(i)], *zone->GetSource(i))) return false;
    return true;
}

CZVCheckButton* CSourceSelWnd::AddOption(CZVWindow* parent, CZVRect rect, const CSourceOption& record) {
    auto* button = new CZVCheckButton(parent, rect, kNoCommand, kOptionClass);
    m_records.push_back(std::make_unique<CSourceOption>(record));
    button->SetItemData(m_records.back().get());
    button->CZVWindow::SetText(record.name, nullptr, 0);
    m_options.push_back(button);
    return button;
}

void CSourceSelWnd::NoteBuiltFrom(const CAudioZone* zone) {
    m_built = true;
    m_builtWithOff = zone->GetId() > 0;
    m_builtSources.clear();
    for (int i = 0; i < zone->GetSourceCount(); ++i) m_builtSources.push_back(*zone->GetSource(i));
}

void CSourceSelWnd::SendChoice() { CZVWindow::OnCommand(m_commandId); }

// ---- CSourceRadioWnd

void CSourceRadioWnd::Build(const CAudioZone* zone) {
    if (!zone || m_region) {
        ReportAssert(kSource, __LINE__, 1);
        return;
    }
    CZVRect area;
    GetClientRect(&area);
    int fontSize = CaptionFontSize();
    const int first = zone->GetId() > 0 ? 0 : 1;
    const int sources = zone->GetSourceCount();
    const int options = std::max(sources - first + 1, 1);
    m_region = new CRRegionRadio(this, area, kRegionClass, options, 1, kOptionChosen, kNoCommand);
    AddChild(m_region);
    const int layout = sources > 0 && area.h < area.w / sources / 3 ? kFlatIconLayout : kIconLayout;
    const int width = m_region->GetWidth() / options;
    CCaptionFitter fitter(this);
    for (int i = first; i <= sources; ++i) {
        CSourceOption record;
        if (i > 0) {
            const CAudioSource& source = *zone->GetSource(i - 1);
            record = CSourceOption{source.id, source.kind, source.name, source.iconName};
        } else {
            record.name = "Off";
        }
        CZVCheckButton* button = AddOption(this, CZVRect(0, 0, width, m_region->GetHeight()), record);
        button->SetBevel(1);
        button->SetMargin(0);
        m_region->AddOption(button, GetOptionCount() - 1);
        if (!record.iconName.IsEmpty()) {
            button->SetIconName(record.iconName, layout);
            fontSize = kIconFontSize;
        }
        fitter.AddWindow(button);
    }
    fitter.Apply(fontSize);
    NoteBuiltFrom(zone);
}

void CSourceRadioWnd::SetSelection(int sourceId, int /*detail*/, int redraw) {
    int chosen = -1;
    for (int i = 0; i < GetOptionCount(); ++i) {
        const bool on = chosen < 0 && GetOptionRecord(i).sourceId == sourceId;
        if (on) chosen = i;
        GetOption(i)->SetCheck(on, 0, 0);
    }
    if (m_region) m_region->SetSelection(chosen, redraw);
}

int CSourceRadioWnd::OnCommand(int id) {
    if (id != kOptionChosen || !m_region) return 1;
    const int chosen = m_region->GetSelection();
    for (int i = 0; i < GetOptionCount(); ++i) GetOption(i)->SetCheck(i == chosen, 0, 0);
    SendChoice();
    return 1;
}

// ---- CSourceListWnd

CSourceListWnd::~CSourceListWnd() { DropList(false); }

void CSourceListWnd::Build(const CAudioZone* zone) {
    if (!zone || m_offButton) {
        ReportAssert(kSource, __LINE__, 1);
        return;
    }
    CZVRect area;
    GetClientRect(&area);
    const int end = std::min(area.w / 3, 2 * area.h);
    const int bevel = GetBevel();
    m_offButton = new CZVCheckButton(this, CZVRect(0, 0, end, area.h), kOff, kBarClass);
    m_offButton->CZVWindow::SetText("Off", nullptr, 0);
    m_current = new CZVCheckButton(this, CZVRect(end, 0, area.w - 2 * end, area.h), kNoCommand, kBarClass);
    m_current->SetMargin(bevel);
    m_current->SetBevel(0);
    m_arrow = new CZV3DButton(this, CZVRect(area.w - end, 0, end, area.h), kArrow, kBarClass);
    m_arrow->SetIconName(kArrowIcon, -1);
    for (CZV3DButton* end : {static_cast<CZV3DButton*>(m_offButton), m_arrow}) {
        end->SetBevel(bevel);
        end->SetMargin(0);
    }
    AddChild(m_offButton);
    AddChild(m_current);
    AddChild(m_arrow);
    CCaptionFitter fitter(this);
    for (int i = 0; i < zone->GetSourceCount(); ++i) {
        const CAudioSource& source = *zone->GetSource(i);
        CZVCheckButton* button = AddOption(this, CZVRect(0, 0, area.w, area.h),
                                           CSourceOption{source.id, source.kind, source.name, source.iconName});
        if (!source.iconName.IsEmpty()) {
            button->SetIconName(source.iconName, kListIconLayout);
            button->SetFontSize(kListIconFontSize);
        }
        fitter.AddWindow(button);
    }
    fitter.Apply(CaptionFontSize());
    NoteBuiltFrom(zone);
}

void CSourceListWnd::SetSelection(int sourceId, int /*detail*/, int redraw) {
    if (m_offButton) m_offButton->SetCheck(sourceId < 0, 0, redraw);
    const CSourceOption* shown = nullptr;
    for (int i = 0; i < GetOptionCount(); ++i) {
        const bool on = GetOptionRecord(i).sourceId == sourceId;
        GetOption(i)->SetCheck(on, 0, 0);
        if (on && !shown) shown = &GetOptionRecord(i);
    }
    if (!m_current) return;
    if (m_currentHasIcon) m_current->SetIcon(CZVIconSpec{});
    m_currentHasIcon = shown && !shown->iconName.IsEmpty();
    m_current->CZVWindow::SetText(shown ? shown->name : CZVString(""), nullptr, 0);
    if (m_currentHasIcon) m_current->SetIconName(shown->iconName, kListIconLayout);
    m_current->SetCheck(shown != nullptr, 0, 0);
    m_current->FreeImages();  // the faces show the old caption
    if (redraw && m_current->IsShown()) m_current->RedrawBuffered();
}

int CSourceListWnd::OnCommand(int id) {
    switch (id) {
    case kOptionChosen: {
        const int chosen = m_list ? m_list->GetSelection() : -1;
        for (int i = 0; i < GetOptionCount(); ++i) GetOption(i)->SetCheck(i == chosen, 0, 0);
        const int source = chosen >= 0 && chosen < GetOptionCount() ? GetOptionRecord(chosen).sourceId : -1;
        ShowList(0);
        SendChoice();
        SetSelection(source, 0, 1);
        return 1;
    }
    case kListDismissed: {
        ShowList(0);
        const CSourceOption* item = GetSelectedItem();
        SetSelection(item ? item->sourceId : CSourceOption::kOff, 0, 1);
        return 1;
    }
    case kArrow: ShowList(!m_listOpen); return 1;
    case kOff:
        SetSelection(CSourceOption::kOff, 0, 1);
        SendChoice();
        return 1;
    default: return 1;
    }
}

void CSourceListWnd::ListGrid(int options, int screenWidth, int columnWidth, int* columns, int* rows) {
    int c = std::clamp(screenWidth / std::max(columnWidth, 1), 1, std::max(options, 1));
    const int r = (options + c - 1) / c;
    while (c > 1 && r * (c - 1) >= options) --c;
    *columns = c;
    *rows = std::max(r, 1);
}

void CSourceListWnd::ShowList(int show) {
    if ((show != 0) == (m_listOpen != 0)) return;
    if (show)
        OpenList();
    else
        DropList(true);
}

void CSourceListWnd::OpenList() {
    CMainWndBase* main = GetMainWnd();
    const int options = GetOptionCount();
    if (!main || options == 0) return;
    int columns = 1, rows = 1;
    ListGrid(options, main->GetWidth(), CSetServer::CurrentStyle(kColumnStyleClass, 0), &columns, &rows);
    const int rowHeight = std::max(std::min(m_height - GetBevel(), main->GetHeight() / rows), 1);
    const int height = rows * rowHeight;
    const int top = main->GetHeight() - height;
    m_background = std::make_unique<CDibDC>(main->GetWidth(), height, 0, top, 1);
    {
        CZVDC dc(main);
        dc.CaptureTo(m_background.get(), 0, top);
    }
    m_list = new CRRegionRadio(this, CZVRect(-ToRootX(0), top - ToRootY(0), main->GetWidth(), height), kBarClass,
                               columns, rows, kOptionChosen, kListDismissed);
    m_list->SetCornerRadius(0);
    m_list->SetFrameRaised(0);
    m_list->SetBackColor(0);
    int on = -1;
    for (int i = 0; i < options; ++i) {
        m_list->AddOption(GetOption(i), i);
        if (on < 0 && GetOption(i)->GetCheck()) on = i;
    }
    m_list->SetSelection(on, 0);
    AddChild(m_list);
    CDibDC surface(main->GetWidth(), height, 0, top, 1);
    m_list->Paint(&surface, 1);
    main->SetOffscreenPaint(1);
    main->SlideVertical(-height, kSlideMs, &surface, 0, 0, top, 0, nullptr, 0, 0);
    main->SetOffscreenPaint(0);
    main->SetOverlayWindow(m_list);
    m_listOpen = 1;
}

void CSourceListWnd::DropList(bool slide) {
    CMainWndBase* main = GetMainWnd();
    if (main && m_list && main->GetOverlayWindow() == m_list) main->SetOverlayWindow(nullptr);
    if (slide && main && m_background) {
        main->SetOffscreenPaint(1);
        main->SlideVertical(m_background->GetHeight(), kSlideMs, m_background.get(), 0, 0,
                            main->GetHeight() - m_background->GetHeight(), 0, nullptr, 0, 0);
        main->SetOffscreenPaint(0);
    }
    m_background.reset();
    // Gone now, while this window lives: the region's frame has this window as parent. The
    // region's own touch handler returns at once after the command that closes it.
    if (m_list) {
        RemoveChild(m_list);
        delete m_list;
    }
    m_list = nullptr;
    m_listOpen = 0;
}

void CSourceListWnd::Paint(CZVDC* dc, int withBackground) {
    if (m_listOpen) DropList(false);
    CSourceSelWnd::Paint(dc, withBackground);
}
