#pragma once
// The gateway messages of the tablet's sound and video: clips, streamed
// audio, the intercom's audio and the cameras.
#include <cstdint>

constexpr uint16_t ZVM_AUDIO_STREAMDATA = 0x1395;
constexpr uint16_t ZVM_AUDIO_STREAMEND = 0x1396;
constexpr uint16_t ZVM_AUDIO_STOPSTREAM = 0x13CE;
constexpr uint16_t ZVM_INTERCOM_AUDIOSTART = 0x1408;
constexpr uint16_t ZVM_INTERCOM_AUDIOSTOP = 0x1409;
constexpr uint16_t ZVM_INTERCOM_INCOMINGCALL = 0x1416;
constexpr uint16_t ZVM_INTERCOM_ENDCALL = 0x1418;
constexpr uint16_t ZVM_AUDIO_PLAYSOURCE = 0x157C;
constexpr uint16_t ZVM_AUDIO_OPENSTREAMQ = 0x1586;
constexpr uint16_t ZVM_AUDIO_OPENSTREAMA = 0x1587;
constexpr uint16_t ZVM_AUDIO_STREAMPCM = 0x1774;
constexpr uint16_t ZVM_AUDIO_STREAMULAW = 0x1776;
constexpr uint16_t ZVM_SOUND_GETCLIPQ = 0x23F0;
constexpr uint16_t ZVM_SOUND_GETCLIPA = 0x23F1;
