#pragma once
// Music lists in a main window against the sample gateway's music library:
// a source of fixed id and features, the row requests the gateway received,
// and answers handed to rows or pushed to the lists' sinks.
#include <set>
#include <string>
#include <vector>

#include "core/messages/mediamessages.h"
#include "samplegateway/musiclibrary.h"
#include "samplegateway/pictures.h"
#include "vistrel/media/music/musiclists.h"
#include "vistrel/shell_fixture.h"
#include "widgets/command_sink.h"

namespace musictest {

class FixedSource : public CMusicSource {
public:
    int GetSelectedAudioItem() override { return id; }
    int GetSourceFeatures() override { return features; }

    int id = 71;
    int features = 0;
};

// A browse answer or row answer as a message of that id, read from the start.
inline std::unique_ptr<CZVMSG> Message(uint16_t id, const testsupport::Bytes& payload, uint16_t sink = 0) {
    auto message = std::make_unique<CZVMSG>(sink, id);
    if (!payload.empty()) message->WriteBytes(payload.data(), static_cast<int32_t>(payload.size()));
    message->ResetPosition();
    return message;
}

// The row's text answer {ids, text}, handed straight to the row.
inline void AnswerRow(CLBAudioItem* row, const std::string& text, int32_t id = 1) {
    auto message =
        Message(ZVM_AUDIO_GETITEMTEXTA, samplegateway::PayloadWriter().Int(id).Int(id + 1).Int(id + 2).String(text));
    row->OnMessage(message.get());
}

class MusicTest : public vistreltest::ShellTest {
protected:
    void SetUp() override {
        samplegateway::ServeMusicLibrary(gateway.Engine());
        samplegateway::ServePictures(gateway.Engine(), true);
        Connect();
        page = new widgettest::CommandSink(window.get(), CZVRect(0, 0, window->GetWidth(), window->GetHeight()));
        pageRect = CZVRect(0, 0, page->GetWidth(), page->GetHeight());
    }

public:
    // Public, so that the tables of cases can make lists.
    MusicListArgs Args(CZVRect rect) {
        return MusicListArgs{page, rect, kSelectCommand, kSettledCommand, server, &source};
    }
    template <class List, class... Extra>
    List* Make(Extra... extra) {
        return MakeIn<List>(pageRect, extra...);
    }
    template <class List, class... Extra>
    List* MakeIn(CZVRect rect, Extra... extra) {
        auto* list = new List(Args(rect), extra...);
        // The size the style gives lists of 22-pixel rows.
        list->SetFontSize(kListFontSize);
        page->AddChild(list);
        return list;
    }
    void Remove(CZVWindow* list) {
        page->RemoveChild(list);
        delete list;
    }

protected:
    // The rows asked for so far, by row index, and the browses by kind.
    std::vector<int32_t> RowsAsked() const { return Field(ZVM_AUDIO_GETITEMTEXTQ, 3); }
    std::vector<int32_t> BrowsesSent() const { return Field(ZVM_AUDIO_BROWSEQ, 0); }
    std::vector<int32_t> Field(uint16_t id, int index) const {
        std::vector<int32_t> values;
        for (const testsupport::Frame& frame : gateway.Requests()) {
            if (frame.id != id) continue;
            samplegateway::PayloadReader reader(frame.payload);
            int32_t value = 0;
            for (int i = 0; i <= index; ++i) reader.Int(&value);
            values.push_back(value);
        }
        return values;
    }
    static CLBAudioItem* RowAt(CAudioLibListBase* list, int index) {
        return static_cast<CLBAudioItem*>(list->GetItemAt(index));
    }

    static constexpr int kListFontSize = 10;
    static constexpr int kSelectCommand = 900;
    static constexpr int kSettledCommand = 901;
    FixedSource source;
    // The lists' parent, which keeps the commands they send.
    widgettest::CommandSink* page = nullptr;
    CZVRect pageRect;
};

}  // namespace musictest
