#pragma once
// What the wizard steps share of the pool model: reading and storing the
// configuration byte tables by their own numbers (1 to 9), and the lists of
// circuits that the steps offer.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "basinsetup/dialogcontrols.h"
#include "core/basinsetup.h"

// Configuration byte table n (1 to 9) is the model's table n + 1; the
// model's first table holds the controller's firmware.
uint8_t ConfigByte(const CBasinSetup& model, int table, int index);
int ConfigTableSize(const CBasinSetup& model, int table);

// (index, value) pairs of one table.
using TableBytes = std::vector<std::pair<int, uint8_t>>;

// Told when the gateway did not take a change; the screen then shows again
// what the gateway holds.
inline constexpr char kChangeRefused[] = "ERROR: Could not change settings on controller";

// One change of the configuration tables, sent as one table write. When the
// gateway does not take it, the model gets back the bytes it had, so that
// it holds what the gateway holds, and the user is told.
class CTableChange {
public:
    explicit CTableChange(CBasinSetup& model) : m_model(model) {}

    // Stores a byte of configuration table `table` (1 to 9); a byte outside
    // its table is left out. 1 when stored.
    int Set(int table, int index, uint8_t value);
    void Set(int table, const TableBytes& bytes);
    // Sends every table once when any byte was stored; 1 when the gateway
    // took them, 0 when it did not or nothing was stored.
    int Write(CDialogView& view);

private:
    struct Before {
        int table, index;
        uint8_t value;
    };

    CBasinSetup& m_model;
    std::vector<Before> m_before;
};

// Function code of circuits that no list of the steps offers.
inline constexpr uint8_t kHiddenFunction = 17;

// The controllers that offer only part of the equipment.
bool IsCompactController(const CBasinSetup& model);

// Items {text, device id} for the model's circuits in list order that pass;
// the text is the circuit's name, or with byTrigger the trigger name of its
// device id (the first circuit with that device id, or a heating function).
std::vector<CListItem> CircuitItems(const CBasinSetup& model, bool byTrigger,
                                    const std::function<bool(const CPoolCircuit&)>& take);
// Items {trigger name, code} for the codes.
std::vector<CListItem> TriggerItems(const CBasinSetup& model, std::initializer_list<uint8_t> codes);

// Puts the offered items into a box and selects the stored code; a code
// that the box does not offer gets an entry of its own, "Unknown (code)",
// so that it shows as what it is and stays stored until the user changes it.
void ShowStoredCode(CDialogControls& controls, int id, std::vector<CListItem> offered, uint8_t code);

std::string FormatText(const char* format, int value);

// The wizard's buttons besides "Next >>" (IDC_OK); step 4 has "Finish" on IDC_CANCEL.
enum : int { IDC_STEP_BACK = 1064, IDC_STEP_FINISH = 1066 };
// Ends the step for its "Next >>", "<< Back" and "Finish" buttons; false for
// any other control.
bool EndWizardStep(CDialogControls& controls, int id);
