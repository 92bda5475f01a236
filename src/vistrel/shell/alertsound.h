#pragma once
// The alert sound that the gateway asks the tablet to play: the first play
// comes at once, then the repeats, one per interval, from the idle pass.
#include <cstdint>
#include <string>

class CAlertSound {
public:
    // Plays the clip of the name now when repeats are asked for, and arms the repeats.
    void Start(const std::string& name, int repeats, int interval);
    // One repeat when its interval has passed.
    void Step();
    // Stops the repeats.
    void Clear();
    // Repeats played since the start; the first play is not one.
    int GetPlays() const { return m_played; }

private:
    static void Play(const std::string& name);

    std::string m_name;
    int m_repeats = 0;
    int m_played = 0;
    int m_interval = 0;
    uint32_t m_tick = 0;
};
