#include "vistrel/home/pool/poolbuttons.h"

#include "core/basinsetup.h"
#include "widgets/buttons/zvchkbutton.h"

CPoolCircuit* CCircuitButtons::FindByCommand(int id) const {
    for (const auto& [circuit, button] : m_entries)
        if (button->GetCommandId() == id) return circuit;
    return nullptr;
}

CZVCheckButton* CCircuitButtons::FindButton(const CPoolCircuit* circuit) const {
    for (const auto& [held, button] : m_entries)
        if (held == circuit) return button;
    return nullptr;
}

void CCircuitButtons::ShowStates(int redraw) {
    for (const auto& [circuit, button] : m_entries) button->SetCheck(circuit->state != 0, 0, redraw);
}

void CCircuitButtons::Blink() {
    m_blinkPhase = !m_blinkPhase;
    for (const auto& [circuit, button] : m_entries)
        if (circuit->delay) button->SetCheck(m_blinkPhase, 0, button->IsShown());
}
