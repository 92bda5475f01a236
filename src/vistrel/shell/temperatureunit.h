#pragma once
// The gateway's temperature unit, shared by every page that shows a
// temperature (climate, weather).
class CZVServer;

// 1 when the gateway works in Celsius. Asked once per process: while no
// answer has come, every call asks again.
int IsCelsius(CZVServer* server);
// Forgets the unit, so that the next call asks (a fresh start).
void ResetTemperatureUnit();
