#pragma once
// What the music lists need to know of the audio source they browse: the
// source chosen in the zone, whose id goes with every library request, and
// its feature bits, which take buttons away and choose how a list empties.
// The audio zones page answers for the source it shows.

// Feature bits of a music source.
enum : int {
    kSourceRedrawOnReload = 0x40000,
    kSourceNoAdd = 0x100000,
    kSourceNoPlay = 0x1000000,
    kSourceNoQueueEdit = 0x8000000,
};

class CMusicSource {
public:
    virtual ~CMusicSource() = default;
    virtual int GetSelectedAudioItem() = 0;
    virtual int GetSourceFeatures() = 0;
};
