#include "scene.h"

namespace ziru::app {

void SceneSetup() {}

void OPENGL_DRAW() {}

}  // namespace ziru::app
