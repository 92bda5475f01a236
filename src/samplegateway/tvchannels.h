#pragma once
// The sample house's TV source 3300: its channel (a typed channel tunes it,
// a favourite too), two channel groups and their favourites with icon names.
namespace samplegateway {

class Gateway;

inline constexpr int kTvSource = 3300;
inline constexpr int kTvStartChannel = 7;

void ServeTvChannels(Gateway& gateway);

}  // namespace samplegateway
