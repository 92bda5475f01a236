#include "widgets/buttons/buttonicon.h"

namespace {

class CEmptyIcon : public CButtonIcon {
public:
    CButtonIcon* Clone() const override { return new CEmptyIcon; }
    void Draw(CPaintWindow*, CZVDC*, CZVRect, COLORREF, int) override {}
};

CButtonIconSource g_defaultSource;
CButtonIconSource* g_source = nullptr;

}  // namespace

CButtonIcon* CButtonIconSource::MakeStock(int, COLORREF) { return new CEmptyIcon; }

CButtonIcon* CButtonIconSource::MakeNamed(const CZVString&) { return new CEmptyIcon; }

CButtonIconSource& ButtonIcons() { return g_source ? *g_source : g_defaultSource; }

CButtonIconSource* InstallButtonIconSource(CButtonIconSource* source) {
    CButtonIconSource* previous = g_source;
    g_source = source;
    return previous;
}
