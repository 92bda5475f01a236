#pragma once
// Registers the tuner pages with the source page factory: the tuner page
// for source types 3100, 3104 and 3106, the station browse page for 3101
// and 3105.
void RegisterTunerPages();
