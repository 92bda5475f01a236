#pragma once
// The core is shared by three programs that differ in small ways (payload
// limits, string rules, keep-alive). Each connection, and every message and
// file made for it, carries the program it belongs to.

enum class ZVVariant {
    Tablet,   // vistrel
    Config,   // basinsetup
    Monitor,  // sentinax
};
