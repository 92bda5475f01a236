#pragma once
// CStationRecord: what a row of the station lists stands for, a favourite,
// a genre or a station, by the name and the id the gateway uses.
#include <cstdint>
#include <string>

struct CStationRecord {
    std::string name;
    int32_t id = 0;
    // Taken over from a favourites list; not used.
    int32_t extraA = 0;
    int32_t extraB = 0;
};
