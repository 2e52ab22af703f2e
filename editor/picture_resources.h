// picture_resources.h -- the editor's pictures: title artwork and the two map pictures as QImages.
#pragma once
#include <QImage>

#include "editor/model/map_pictures.h"

namespace editor {

constexpr int presentation_width = 640;
constexpr int presentation_height = 480;

// PRESENTATION: the 640 x 480 title artwork the main window shows (an eye
// with soft floaters and the title), drawn once by our own code and reused.
QImage presentation_picture();

// BKGRP640480EYE (640 x 480 black) and BKGRP640480EYE2 (800 x 600 ringed map)
// as RGB32 images; the pixel data is the toolkit-free pictures'.
QImage eye_picture_image();
QImage map_picture_image();

// An RGB32 copy of a toolkit-free picture, and the reverse (alpha dropped).
QImage to_image(const PixelPicture& picture);
PixelPicture to_pixel_picture(const QImage& image);

// An RGB32 image that shares the canvas's pixels without copying; valid while
// the canvas lives and is not resized.
QImage canvas_image(Canvas& canvas);

}  // namespace editor
