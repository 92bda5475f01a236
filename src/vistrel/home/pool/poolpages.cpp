#include "vistrel/home/pool/poolpages.h"

#include "vistrel/home/pool/poolcontrols.h"
#include "vistrel/home/pool/poolpage.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/pagemakers.h"

namespace {

constexpr int kStatusTableType = 117;
constexpr int kCircuitGridType = 118;

}  // namespace

void RegisterPoolPages() {
    static constexpr CPageMakerRow kPages[] = {{kCommandPoolControl, MakePoolControlPage}};
    static constexpr CControlMakerRow kControls[] = {{kStatusTableType, MakePoolStatusTable, 0},
                                                     {kCircuitGridType, MakePoolCircuitGrid, 0}};
    RegisterPageMakers(kPages);
    RegisterControlMakers(kControls);
}
