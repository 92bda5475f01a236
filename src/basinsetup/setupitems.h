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

// A table writer of tables 3 to 9: (index, value, write).
using TableSetter = int (CBasinSetup::*)(int, uint8_t, int);

// Stores the bytes, then sends every table once when any byte was taken;
// bytes outside the table are left out. 1 when something was stored.
int StoreTableBytes(CBasinSetup& model, TableSetter set, const std::vector<std::pair<int, uint8_t>>& bytes);

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

std::string FormatText(const char* format, int value);

// The wizard's buttons besides "Next >>" (IDC_OK); step 4 has "Finish" on IDC_CANCEL.
enum : int { IDC_STEP_BACK = 1064, IDC_STEP_FINISH = 1066 };
// Ends the step for its "Next >>", "<< Back" and "Finish" buttons; false for
// any other control.
bool EndWizardStep(CDialogControls& controls, int id);
