// The flame scene's two plug points in the demo's start-up and frame loop.
#pragma once

namespace ziru::app {

// The scene's one-time set-up, run once after the window exists.
void SceneSetup();
// Draws one frame of the scene.
void OPENGL_DRAW();

}  // namespace ziru::app
