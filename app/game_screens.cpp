#include "app/game_screens.h"

#include "console/ui/console_screen.h"
#include "shell/screens/about_screen.h"
#include "shell/screens/game_over_screen.h"
#include "shell/screens/intro_screen.h"
#include "shell/screens/menu_screen.h"
#include "shell/toolkit/screens.h"
#include "shell/screens/splash_screen.h"
#include "story/ui/story_screen.h"

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
    screens.define(ScreenId::IntoEngine, factoryOf<IntroScreen>(services));
    screens.define(ScreenId::Engine, factoryOf<story::StoryScreen>(services));
    screens.define(ScreenId::GameOver, factoryOf<GameOverScreen>(services));
    screens.define(ScreenId::BLNC, factoryOf<console::ConsoleScreen>(services));
}

} // namespace tess
