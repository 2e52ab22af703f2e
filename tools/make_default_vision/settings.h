// settings.h -- the effect settings, floaters, streaks and comments of the default vision.
#pragma once
#include "visionfile/document.h"

namespace defaultvision {

// Fills `doc` (already at the new-document defaults) with the default
// vision: every effect on at a moderate strength, floaters drawn for both
// eyes as dots of the 800 x 600 floater map, light streaks for both eyes and
// comments that explain what the viewer sees. Pictures are left to the caller.
void fill_default_vision(vision::Document& doc);

}  // namespace defaultvision
