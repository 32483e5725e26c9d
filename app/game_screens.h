#pragma once

namespace tess {

class Screens;
struct Services;

// Tells the screen layer how to build each of the seven screens.
void defineGameScreens(Screens &screens, Services &services);

} // namespace tess
