#pragma once
// The TV channel controls of gateway pages: the channel keypad (131, 164)
// and the favourite channels (183).
void RegisterTvControls();
