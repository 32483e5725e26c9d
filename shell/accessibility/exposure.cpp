#include "shell/accessibility/exposure.h"

#include "shell/toolkit/controls.h"

namespace tess {
namespace {

const char kPageProperty[] = "tessStoryPage";
const char kUnexposedProperty[] = "tessUnexposed";

} // namespace

void hideFromScreenReaders(QWidget &control)
{
    control.setProperty(kUnexposedProperty, true);
}

bool isHiddenFromScreenReaders(const QWidget &control)
{
    return control.property(kUnexposedProperty).toBool();
}

void exposeAsPage(Label &label)
{
    label.setProperty(kPageProperty, true);
}

bool isExposedAsPage(const Label &label)
{
    return label.property(kPageProperty).toBool();
}

} // namespace tess
