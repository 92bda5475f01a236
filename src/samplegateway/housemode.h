#pragma once
// The house's one house mode: asked for, it is told; set, it is kept and
// told to every sink. It starts as Home (mode 0).
namespace samplegateway {

class Gateway;

void ServeHouseMode(Gateway& gateway);

}  // namespace samplegateway
