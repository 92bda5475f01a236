// The browse window of a media server against the sample house: entry flags
// and their row buttons, wrapped plain rows, one cover request per cover row
// with the cover's size taken from its own header, the search pop-up, and
// one level up through the header.
#include "vistrel/media/music/audiolibbrowsewnd.h"

#include <gtest/gtest.h>

#include "audio_fixture.h"
#include "core/messages/shellmessages.h"
#include "music_fixture.h"
#include "samplegateway/musicserver.h"
#include "samplegateway/slides.h"
#include "vistrel/media/music/audiolibsearchbox.h"
#include "vistrel/media/music/coverartlist.h"
#include "widgets/text/zvedit.h"
#include "widgets/window/overlay.h"

namespace {

using musictest::Message;
using samplegateway::PayloadWriter;

class Browse : public audiotest::AudioTest {
protected:
    void SetUp() override {
        ConnectToSampleHouse();
        m_browse =
            new CAudioLibBrowseWnd(window.get(), CZVRect(100, 50, 600, 500), server, samplegateway::kMediaServerId);
        window->AddChild(m_browse);
        ASSERT_TRUE(SettleUntil([this] { return List()->GetCount() > 0; }));
    }
    void TearDown() override {
        window->RemoveChild(m_browse);
        delete m_browse;
    }
    CCoverArtList* List() const { return m_browse->GetList(); }
    // Opens the row by its "Go" and waits for the level.
    void Open(int row, int headers) {
        List()->SelectIndex(row, 0);
        m_browse->OnCommand(CAudioLibBrowseWnd::kGoCommand);
        ASSERT_TRUE(SettleUntil([&] { return m_browse->GetHeaderCount() == headers && List()->GetCount() > 0; }));
    }
    // The browse requests' {node, entry, action} and texts.
    std::vector<std::vector<int32_t>> Requests(std::vector<std::string>* texts = nullptr) const {
        std::vector<std::vector<int32_t>> out;
        for (const auto& frame : gateway.RequestsOf(ZVM_AUDIO_GETCOVERARTQ)) {
            samplegateway::PayloadReader in(frame.payload);
            int32_t v[4] = {};
            for (int32_t& value : v) in.Int(&value);
            std::string text;
            in.String(&text);
            // Cover requests are not browses.
            if (v[3] == CAudioLibBrowseWnd::kCoverAction) continue;
            out.push_back({v[1], v[2], v[3]});
            if (texts) texts->push_back(text);
        }
        return out;
    }
    size_t CoverRequests() const {
        size_t n = 0;
        for (const auto& frame : gateway.RequestsOf(ZVM_AUDIO_GETCOVERARTQ)) {
            samplegateway::PayloadReader in(frame.payload);
            int32_t v[4] = {};
            for (int32_t& value : v) in.Int(&value);
            n += v[3] == CAudioLibBrowseWnd::kCoverAction;
        }
        return n;
    }

    CAudioLibBrowseWnd* m_browse = nullptr;
};

TEST(CoverArtItemFlags, ButtonsFollowTheFlags) {
    const struct {
        int flags;
        int row;
    } cases[] = {{0x02, 0x06}, {0x0A, 0x08}, {0x01, 0x01}, {0x13, 0x17}, {0x1F, 0x08}, {0, 0}};
    for (const auto& c : cases) EXPECT_EQ(CCoverArtItem::RowFlags(c.flags), c.row) << c.flags;
}

TEST_F(Browse, TheRootLevelAndItsRows) {
    EXPECT_EQ(m_browse->GetHeaderCount(), 1);
    ASSERT_EQ(List()->GetCount(), 3);
    EXPECT_EQ(List()->GetCoverItem(0)->GetFlags(), kEntryCanOpen);
    EXPECT_EQ(List()->GetCoverItem(2)->GetFlags(), kEntrySearchable);
}

TEST_F(Browse, APlainRowSpansTheLinesItNeedsAndCannotBeSelected) {
    Open(1, 2);
    CCoverArtItem* row = List()->GetCoverItem(0);
    EXPECT_GE(row->GetSpan(), 2);
    EXPECT_EQ(List()->GetItemHeight(0, row), row->GetSpan() * List()->GetRowHeight());
    EXPECT_EQ(List()->IsSelectable(row), 0);
}

TEST_F(Browse, CoverRowsAskOnceWhenDrawnAndDecodeAtIdle) {
    Open(0, 2);
    List()->Redraw(1);
    ASSERT_TRUE(Settle());
    const size_t asked = CoverRequests();
    EXPECT_GT(asked, 0u);
    EXPECT_LT(asked, static_cast<size_t>(samplegateway::kMediaServerAlbums));
    ASSERT_TRUE(SettleUntil([&] { return List()->GetCoverItem(0)->GetDecoded() != nullptr; }));
    List()->Redraw(1);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(CoverRequests(), asked);
    EXPECT_EQ(List()->GetReservedWidth(List()->GetCoverItem(0)), CCoverArtList::kCoverRowHeight);
}

TEST_F(Browse, ACoverIsRefusedUnlessItsHeaderAndCountAgree) {
    Open(0, 2);
    const testsupport::Bytes jpeg = samplegateway::EncodeJpeg(20, 10, testsupport::Bytes(600, 128));
    const auto answer = [&](int32_t count, int32_t w, int32_t h) {
        return Message(ZVM_MESSAGES_GETNEWCOUNTA,
                       PayloadWriter().Int(count).Int(w).Int(h).Raw(jpeg.data(), jpeg.size()));
    };
    const struct {
        int32_t count, w, h;
        bool decoded;
    } cases[] = {{static_cast<int32_t>(jpeg.size()), 20, 10, true},
                 {static_cast<int32_t>(jpeg.size()), 400, 400, false},
                 {static_cast<int32_t>(jpeg.size()) + 1000, 20, 10, false},
                 {-5, 20, 10, false}};
    int row = 3;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.w);
        CCoverArtItem* item = List()->GetCoverItem(row);
        row += 3;
        item->OnMessage(answer(c.count, c.w, c.h).get());
        item->DecodePending();
        EXPECT_EQ(item->GetDecoded() != nullptr, c.decoded);
    }
}

TEST_F(Browse, EnterInTheSearchBoxSearchesWithItsText) {
    List()->SelectIndex(2, 0);
    m_browse->OnCommand(CAudioLibBrowseWnd::kSearchCommand);
    CAudioLibSearchBox* box = m_browse->GetSearchBox();
    ASSERT_NE(box, nullptr);
    box->GetEdit()->SetText("glass", nullptr, 0);
    // Enter: "Go" on the next idle pass; the overlay closes and the box goes later.
    box->OnCommand(CAudioLibSearchBox::kEditCommand);
    ASSERT_TRUE(SettleUntil([&] { return m_browse->GetHeaderCount() == 2 && !window->GetOverlay(); }));
    std::vector<std::string> texts;
    const auto requests = Requests(&texts);
    EXPECT_EQ(requests.back(), (std::vector<int32_t>{0, 3, CAudioLibBrowseWnd::kOpenAction}));
    EXPECT_EQ(texts.back(), "glass");
    EXPECT_EQ(m_browse->GetCurrentNode(), 3);
    ASSERT_GT(List()->GetCount(), 0);
    EXPECT_NE(std::string(List()->GetCoverItem(0)->GetText().GetAnsi()).find("Glass"), std::string::npos);
}

TEST_F(Browse, UpBrowsesTheNodeBeforeTheLast) {
    Open(0, 2);
    Open(0, 3);
    m_browse->OnCommand(CAudioLibBrowseWnd::kUpCommand);
    ASSERT_TRUE(SettleUntil([&] { return m_browse->GetHeaderCount() == 2 && List()->GetCount() > 0; }));
    EXPECT_EQ(m_browse->GetCurrentNode(), m_browse->GetHeaderNode(1));
    EXPECT_EQ(Requests().back(), (std::vector<int32_t>{1, 0, CAudioLibBrowseWnd::kOpenAction}));
}

}  // namespace
