#pragma once
// What a control may ask of the shell's main menu: whether a finger is down
// on it (the menu's press state is not 0 then).
class IMainMenuState {
public:
    virtual ~IMainMenuState() = default;
    virtual int GetPressState() const = 0;
};
