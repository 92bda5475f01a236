#include "vistrel/media/tv/tvcontrolmakers.h"

#include "vistrel/media/tv/tvchannel.h"
#include "vistrel/media/tv/tvfavorites.h"
#include "vistrel/shell/pagecontrol.h"
#include "vistrel/shell/pagemakers.h"

void RegisterTvControls() {
    static constexpr CControlMakerRow kControls[] = {
        {CTvChannelCtl::kPlainType, MakeTvChannel, kSkipCommon},
        {CTvChannelCtl::kNumberedType, MakeTvChannel, kSkipCommon},
        {CTvFavoritesCtl::kType, MakeTvFavorites, kSkipCommon},
    };
    RegisterControlMakers(kControls);
}
