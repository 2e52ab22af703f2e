// scenes.h -- the pictures of the default vision, drawn procedurally.
#pragma once
#include "canvas.h"

namespace defaultvision {

constexpr int scene_width = 1280;
constexpr int scene_height = 960;
constexpr int intro_width = 640;
constexpr int intro_height = 480;

// A bright summer sky with cumulus clouds over blue mountains, wooded hills
// and a meadow: floaters show well against the large bright sky.
Canvas draw_meadow_scene();

// A sunny snow field under snow-covered mountains with a pine forest.
Canvas draw_snow_scene();

// The intro picture: a stylised eye and the title "Vitrion simulator v2.0".
// Needs a QGuiApplication for its text.
Canvas draw_intro();

}  // namespace defaultvision
