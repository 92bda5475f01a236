#pragma once
// Registers the house-mode controls of gateway pages with the shell: the
// mode buttons (types 101-103 and 133-139), the mode line (104) and the
// remotes' status (187).
void RegisterHouseControls();

// The mode of a house-mode button type; -1 for any other type.
int HouseModeOfType(int type);
