#include "shell/app/game_screens.h"

#include "console/ui/blnc_screen.h"
#include "shell/ui/about_screen.h"
#include "shell/ui/game_over_screen.h"
#include "shell/ui/into_engine_screen.h"
#include "shell/ui/menu_screen.h"
#include "shell/ui/screens.h"
#include "shell/ui/splash_screen.h"
#include "story/ui/engine_screen.h"

namespace tess {
namespace {

template <typename ScreenType>
Screens::Factory factoryOf(Services &services)
{
    return [&services] { return std::make_unique<ScreenType>(services); };
}

} // namespace

void defineGameScreens(Screens &screens, Services &services)
{
    screens.define(ScreenId::Main, factoryOf<SplashScreen>(services));
    screens.define(ScreenId::Game, factoryOf<MenuScreen>(services));
    screens.define(ScreenId::About, factoryOf<AboutScreen>(services));
    screens.define(ScreenId::IntoEngine, factoryOf<IntoEngineScreen>(services));
    screens.define(ScreenId::Engine, factoryOf<story::EngineScreen>(services));
    screens.define(ScreenId::GameOver, factoryOf<GameOverScreen>(services));
    screens.define(ScreenId::BLNC, factoryOf<console::BlncScreen>(services));
}

} // namespace tess
