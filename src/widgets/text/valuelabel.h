#pragma once
// CValueLabel: a label showing one value of the gateway as a decimal number
// (page factory type 149). It asks once when made and takes every later
// answer for its item, also those the gateway pushes.
#include "core/zvserver.h"
#include "widgets/text/zvlabel.h"

class CValueLabel : public CZVLabel, public CSocketSink {
public:
    CValueLabel(CZVWindow* parent, CZVRect rect, int itemId);

    void OnMessage(CZVMSG* message) override;

private:
    int m_itemId;
};
