#pragma once
// What a tuner source's kind word makes of its bands: the unit a frequency is
// counted in, the band edges the Tune buttons wrap at, the Tune step, the
// limits and length of a keypad entry, and the display texts.
#include <string>

// Bands of a tuner as the gateway names them.
enum TunerBand : int {
    kBandOff = 3101,
    kBandAM = 3102,
    kBandFM = 3103,
};

// Page types (the kind word's low half) of the tuner pages.
enum : int {
    kTunerPlain = 3100,
    kStationBrowse = 3101,
    kTunerFineStep = 3104,
    kStationBrowseCompact = 3105,
    kTunerArtistTrack = 3106,
};

// Feature bits of a tuner's kind word.
enum : int {
    kTunerCompactFavorites = 0x10000,
    kTunerSubChannel = 0x20000,
    kTunerReduced = 0x40000,
    kTunerNoFavoriteEdit = 0x80000,
};

// Band units, edges and steps:
//
// | variant, band    | unit                       | lower edge | upper edge | Tune step |
// |------------------|----------------------------|------------|------------|-----------|
// | any, AM          | 0.1 kHz                    | 5300       | 17100      | 100 (90 on fine step) |
// | plain, FM        | 0.1 MHz                    | 877        | 1079       | 2         |
// | fine step, FM    | 0.01 MHz                   | 8750       | 10795      | 5         |
// | sub-channel, FM  | kHz, sub-channel in tens   | 87700      | 107930     | 200       |
inline constexpr int kAmLowerEdge = 5300;
inline constexpr int kAmUpperEdge = 17100;
inline constexpr int kAmStep = 100;
inline constexpr int kFineAmStep = 90;
inline constexpr int kFmLowerEdge = 877;
inline constexpr int kFmUpperEdge = 1079;
inline constexpr int kFmStep = 2;
inline constexpr int kFineFmUpperEdge = 10795;
inline constexpr int kFineFmStep = 5;
inline constexpr int kSubChannelFmUpperEdge = 107930;
inline constexpr int kSubChannelFmStep = 200;
// The fine-step variant's 50 kHz FM step, 9 kHz AM step and 107.95 MHz top
// are the European rasters, whose FM band starts at 87.5 MHz; its keypad
// follows the plain variant's pattern (870 while the second digit is checked,
// 877 after) and takes 8700, then 8750, up to its top.
inline constexpr int kFineFmLowerEdge = 8750;
inline constexpr int kFineFmSecondDigitMinimum = 8700;
// The sub-channel variant tunes the plain variant's 87.7 to 107.9 MHz band in
// kHz, 87.7 MHz being sub-channel 0; its keypad takes hundredths of a MHz
// (multiplied by 10 when sent), so its top is 107.93 MHz before that.
inline constexpr int kSubChannelFmLowerEdge = 87700;
inline constexpr int kSubChannelEntryMaximum = 10793;
// The keypad's lower limits while the second digit is checked, and after.
inline constexpr int kFmSecondDigitMinimum = 870;
inline constexpr int kSubChannelSecondDigitMinimum = 8700;
inline constexpr int kSubChannelEntryMinimum = 8770;
// A keypad entry of AM takes kHz.
inline constexpr int kAmEntryMinimum = 530;
inline constexpr int kAmEntryMaximum = 1710;

// The key id of "Enter" among the keypad's commands, and the digit it stands for.
inline constexpr int kKeypadFirstKey = 11000;
inline constexpr int kKeypadCancel = 11010;
inline constexpr int kKeypadEnter = 11011;

class CTunerVariant {
public:
    explicit CTunerVariant(int kindWord);

    int IsFineStep() const { return m_fineStep; }
    int IsArtistTrack() const { return m_artistTrack; }
    int IsSubChannel() const { return m_subChannel; }

    int GetMaxFrequency(int band) const;
    int GetMinFrequency(int band) const;
    int GetTuneStep(int band) const;
    // The lower limit of a keypad value with `digits` entered so far.
    int GetEntryMinimum(int band, int digits) const;
    // The upper limit of a keypad value (before the sub-channel's factor 10).
    int GetEntryMaximum(int band) const;
    // How many digits an entry that starts with the digit takes.
    int GetEntryLength(int band, int firstDigit) const;
    // The digit may start an entry on the band.
    static int CanStartEntry(int band, int digit);

    // " MHz FM", " kHz AM" or empty.
    static std::string GetBandUnit(int band);
    // The tuned frequency as the display shows it.
    std::string FormatFrequency(int band, int frequency, const std::string& stationName) const;
    // An entry in progress: the digits, "_" for the missing ones, the point on FM, the unit.
    std::string FormatEntry(int band, const int* digits, int count, int length) const;

private:
    int m_fineStep;
    int m_artistTrack;
    int m_subChannel;
};
