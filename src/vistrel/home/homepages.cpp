#include "vistrel/home/homepages.h"

#include "vistrel/home/climate/climatepages.h"
#include "vistrel/home/house/housecontrols.h"
#include "vistrel/home/irrigation/irrigationsummary.h"
#include "vistrel/home/lighting/lightingpage.h"
#include "vistrel/home/pool/poolpages.h"
#include "vistrel/home/security/securitypages.h"
#include "vistrel/shell/pagemakers.h"

void RegisterHomePages() {
    // Each family adds its rows here as its pages are built.
    RegisterClimatePages();
    RegisterLightingPages();
    RegisterPoolPages();
    RegisterHouseControls();
    RegisterSecurityPages();
    RegisterIrrigationPages();
}
