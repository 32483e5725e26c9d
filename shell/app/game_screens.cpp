#include "shell/app/game_screens.h"

#include "console/ui/console_screen.h"
#include "shell/ui/about_screen.h"
#include "shell/ui/game_over_screen.h"
#include "shell/ui/intro_screen.h"
#include "shell/ui/menu_screen.h"
#include "shell/ui/screens.h"
#include "shell/ui/splash_screen.h"
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
