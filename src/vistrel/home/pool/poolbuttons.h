#pragma once
// The check buttons that stand for pool circuits on a panel: which circuit
// each button switches, their checks following the circuits' states, and
// the blink of circuits whose delay runs.
#include <cstddef>
#include <utility>
#include <vector>

class CPoolCircuit;
class CZVCheckButton;

class CCircuitButtons {
public:
    // The first circuit button's id; each further one takes the next.
    static constexpr int kFirstId = 1400;
    static constexpr int kBlinkInterval = 500;  // ms

    void Add(CPoolCircuit* circuit, CZVCheckButton* button) { m_entries.emplace_back(circuit, button); }
    void Clear() { m_entries.clear(); }
    int GetCount() const { return static_cast<int>(m_entries.size()); }
    CZVCheckButton* GetButton(int index) const { return m_entries[static_cast<size_t>(index)].second; }
    // The circuit whose button sends the id; null when none does.
    CPoolCircuit* FindByCommand(int id) const;
    CZVCheckButton* FindButton(const CPoolCircuit* circuit) const;
    // Every check shows whether its circuit is on.
    void ShowStates(int redraw);
    // One blink step: circuits with a running delay show the phase.
    void Blink();

private:
    std::vector<std::pair<CPoolCircuit*, CZVCheckButton*>> m_entries;
    int m_blinkPhase = 1;
};
