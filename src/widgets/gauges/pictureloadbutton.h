#pragma once
// CPictureLoadButton: the "Loading..." bar shown while a picture decodes; it
// fills as the decoder reports its progress.
#include "gfx/jpegdecode.h"
#include "widgets/gauges/levelbar.h"

class CPictureLoadButton : public CZVLevelBar, public CProgressSink {
public:
    CPictureLoadButton(CZVWindow* parent, CZVRect rect);

    // Shows done out of total as a percentage when it changed; a total of 0
    // or less shows nothing. Always goes on (1).
    int OnProgress(int done, int total) override;

    int GetShownPercent() const { return m_shownPercent; }

private:
    int m_shownPercent = 0;
};
