#pragma once
// CTvChannelCtl: the channel keypad of a TV source (control types 131 and
// 164): a display of the channel the source is tuned to, asked for every 5 s,
// over ten digit keys that type a channel number; the last digit tunes the
// source. A number left half typed is dropped 5 s after its last digit.
#include <cstdint>

#include "core/zvserver.h"
#include "gfx/zvstring.h"
#include "widgets/regions/rregion.h"

class CZVLabel;
struct CPageControlArgs;

// The display text: "Channel" and the number in three places, with one "_"
// for each digit still to come while an entry is on (entry 1 + digits typed).
CZVString FormatChannelDisplay(int channel, int entry);

class CTvChannelCtl : public CRRegion, public CSocketSink {
public:
    static constexpr int kPlainType = 131;
    static constexpr int kNumberedType = 164;
    static constexpr int kStyleClass = 8;
    static constexpr int kKeyClass = 18;
    static constexpr int kFirstDigit = 11000;
    static constexpr int kLastDigit = 11009;
    static constexpr int kMinDigits = 2;
    static constexpr int kMaxDigits = 3;
    static constexpr int kDefaultShape = 5;
    static constexpr uint32_t kPollInterval = 5000;  // ms
    static constexpr uint32_t kEntryTimeout = 5000;  // ms after the last digit
    static constexpr COLORREF kEntryColor = 0x00FF00;

    // A face colour of 0 takes the parent's; radius and bevel count only together.
    CTvChannelCtl(CZVWindow* parent, CZVServer& server, int source, int digits, int radius, int bevel,
                  COLORREF faceColour, CZVRect rect, int type, int fontSize);
    ~CTvChannelCtl() override;

    int OnCommand(int id) override;
    // The poll: asks for the channel.
    void OnTimer() override { RequestChannel(); }
    int OnIdle(int busy) override;
    void OnMessage(CZVMSG* message) override;

    void RequestChannel();
    void ShowChannel(int channel);

    int GetSource() const { return m_source; }
    int GetDigits() const { return m_digits; }
    int GetEntry() const { return m_entry; }
    int GetType() const { return m_type; }
    CZVLabel* GetDisplay() const { return m_display; }

private:
    void PlaceKeypad(CZVRect area);
    void BuildDisplay(CZVRect band);
    // Ends an entry that waited too long: the gateway's channel shows again.
    void DropEntry();

    int m_source;
    CZVLabel* m_display = nullptr;
    int m_entry = 0;
    int m_number = 0;
    int m_digits;
    int m_type;
    int m_channel = -1;  // the gateway's last answer; -1 before any
    uint32_t m_lastDigitTick = 0;
};

// The page control factory's maker for types 131 and 164.
CZVWindow* MakeTvChannel(CPageControlArgs& args);
