#include "vistrel/media/tuner/tunerband.h"

#include <cstdio>

#include "vistrel/media/audio/sourcepages.h"

namespace {

std::string Printed(const char* format, auto... values) {
    char text[96];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

}  // namespace

CTunerVariant::CTunerVariant(int kindWord)
    : m_fineStep(SourcePageType(kindWord) == kTunerFineStep),
      m_artistTrack(SourcePageType(kindWord) == kTunerArtistTrack),
      m_subChannel((kindWord & kTunerSubChannel) != 0) {}

int CTunerVariant::GetMaxFrequency(int band) const {
    if (band == kBandAM) return kAmUpperEdge;
    if (m_fineStep) return kFineFmUpperEdge;
    return m_subChannel ? kSubChannelFmUpperEdge : kFmUpperEdge;
}

int CTunerVariant::GetMinFrequency(int band) const {
    if (band == kBandAM) return kAmLowerEdge;
    if (m_fineStep) return kFineFmLowerEdge;
    return m_subChannel ? kSubChannelFmLowerEdge : kFmLowerEdge;
}

int CTunerVariant::GetTuneStep(int band) const {
    if (band == kBandAM) return m_fineStep ? kFineAmStep : kAmStep;
    if (m_fineStep) return kFineFmStep;
    return m_subChannel ? kSubChannelFmStep : kFmStep;
}

int CTunerVariant::GetEntryMinimum(int band, int digits) const {
    if (band == kBandAM) return kAmLowerEdge;
    const bool second = digits == 1;
    if (m_fineStep) return second ? kFineFmSecondDigitMinimum : kFineFmLowerEdge;
    if (m_subChannel) return second ? kSubChannelSecondDigitMinimum : kSubChannelEntryMinimum;
    return second ? kFmSecondDigitMinimum : kFmLowerEdge;
}

int CTunerVariant::GetEntryMaximum(int band) const {
    if (band == kBandAM) return kAmEntryMaximum;
    if (m_fineStep) return kFineFmUpperEdge;
    return m_subChannel ? kSubChannelEntryMaximum : kFmUpperEdge;
}

int CTunerVariant::GetEntryLength(int band, int firstDigit) const {
    const int length = firstDigit == 1 ? 4 : 3;
    return band == kBandFM && (m_fineStep || m_subChannel) ? length + 1 : length;
}

int CTunerVariant::CanStartEntry(int band, int digit) {
    if (band == kBandAM) return digit == 1 || (digit >= 5 && digit <= 9);
    if (band == kBandFM) return digit == 1 || digit == 8 || digit == 9;
    return 0;
}

std::string CTunerVariant::GetBandUnit(int band) {
    if (band == kBandFM) return " MHz FM";
    if (band == kBandAM) return " kHz AM";
    return {};
}

std::string CTunerVariant::FormatFrequency(int band, int frequency, const std::string& stationName) const {
    const std::string unit = GetBandUnit(band);
    switch (band) {
    case kBandOff: return "Tuner Off";
    case kBandAM: return Printed("%.0f %s", frequency * 0.1, unit.c_str());
    case kBandFM: break;
    default: return {};
    }
    if (m_fineStep) return Printed("%.2f %s", frequency * 0.01, unit.c_str());
    if (!m_subChannel) return Printed("%.1f %s", frequency * 0.1, unit.c_str());
    const double megahertz = (frequency / 100) * 0.1;
    const int subChannel = (frequency / 10) % 10;
    if (stationName.empty())
        return subChannel == 0 ? Printed("%.1f %s", megahertz, unit.c_str())
                               : Printed("%.1f-%d %s", megahertz, subChannel, unit.c_str());
    return subChannel == 0 ? Printed("%.1f   %s", megahertz, stationName.c_str())
                           : Printed("%.1f-%d   %s", megahertz, subChannel, stationName.c_str());
}

std::string CTunerVariant::FormatEntry(int band, const int* digits, int count, int length) const {
    const int point = band == kBandFM ? length - (m_fineStep || m_subChannel ? 3 : 2) : -1;
    std::string text;
    for (int i = 0; i < length; ++i) {
        text += i < count ? static_cast<char>('0' + digits[i]) : '_';
        if (i == point) text += '.';
    }
    return text + GetBandUnit(band);
}
