// The phone pages' readers of any bytes: the call and voice-mail lists, the
// announcement of a stream (a format of any byte rate, 0 included), and the
// notices the Voice Mail and Greeting tabs handle.
#include <cstddef>
#include <cstdint>

#include "core/messages/mediamessages.h"
#include "core/zvserver.h"
#include "readerfuzz.h"
#include "vistrel/media/phone/answersettings.h"
#include "vistrel/media/phone/phoneaudio.h"
#include "vistrel/media/phone/phonelists.h"
#include "vistrel/media/phone/voicemailpage.h"

namespace {

// An answer of a list: its count, then the entries.
void FillList(CColumnListWnd& list, CZVMSG& answer) {
    int32_t count = 0;
    if (!answer.ReadInt(count)) return;
    if (auto* calls = dynamic_cast<CCallerIdList*>(&list)) calls->Fill(answer, count);
    if (auto* mail = dynamic_cast<CVoiceMailList*>(&list)) mail->Fill(answer, count);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CZVServer server(ZVVariant::Tablet);
    CCallerIdList calls(nullptr, CZVRect(0, 0, 480, 200), 1, server);
    CVoiceMailList mail(nullptr, CZVRect(0, 0, 480, 200), 1, server);
    CVoiceMailPage voiceMail(nullptr, CZVRect(0, 0, 640, 400), 6, 0, server);
    CAnswerSettingsPage greeting(nullptr, CZVRect(0, 0, 640, 400), 6, 0, server);
    voiceMail.Show(0, 1);
    greeting.Show(0, 1);
    const auto page = [](CSocketSink& sink) { return [&sink](CZVMSG& m) { sink.OnMessage(&m); }; };
    return fuzzing::FeedReaders(data, size,
                                {{ZVM_PHONE_GETCALLERIDSA, [&](CZVMSG& m) { FillList(calls, m); }},
                                 {ZVM_PHONE_GETVOICEMAILSA, [&](CZVMSG& m) { FillList(mail, m); }},
                                 {ZVM_PHONE_PLAYVOICEMAILA,
                                  [](CZVMSG& m) {
                                      PhoneStream stream;
                                      if (ReadStreamAnswer(m, &stream)) (void)stream.Seconds();
                                  }},
                                 {ZVM_PHONE_CALLERID, page(voiceMail)},
                                 {ZVM_PHONE_CALLENDED, page(voiceMail)},
                                 {ZVM_PHONE_CALLAUDIO, page(voiceMail)},
                                 {ZVM_PHONE_STATECHANGED, page(voiceMail)},
                                 {ZVM_PHONE_GREETINGCHANGED, page(greeting)},
                                 {ZVM_PHONE_INCOMINGCALL, page(greeting)}});
}
