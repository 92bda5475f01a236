#pragma once
// The sample house's audio zones: what each zone plays, switched by the tablet's source choice
// (0x0FF0) or turned off (0x115D, 5051), reported as the zone state (0x0FEF to a request,
// 0x0FA4 to everyone) with the source's kind word and its path list (a music source's
// sub-sources, else one library entry). The zone list, the zones' icons and the custom page sets
// are answers of the house file.
namespace samplegateway {

class Gateway;

void ServeAudioZones(Gateway& gateway);

}  // namespace samplegateway
