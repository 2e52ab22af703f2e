// still.h -- one frame of the simulation of a vision, for one eye, drawn without a screen.
#pragma once
#include <cstdint>
#include <vector>

#include "visionfile/document.h"

namespace shell {

// The generator's seed for stills: the same vision always gives the same
// still, whatever the clock says.
constexpr uint32_t still_seed = 1;

// Where a still's pictures come from.
struct StillSources {
    // The vision file whose bytes the document's picture_offset fields point
    // into ("" or null: the document's scenes cannot be shown).
    const char* vision_path = nullptr;
    // The folder holding the default vision file "vitrion.dat" (null: the
    // working directory). As in the simulator, its first scene stands in
    // when the document has none and its grey map gives the retina shadow.
    const char* default_vision_folder = nullptr;
};

// The frame the simulator shows for `eye` (0 left, 1 right) right after
// `doc` was loaded over the default vision: the simulation started, the
// pointer at the centre of the screen, the eyes open and still, no status
// text. The floaters are built from the document and every effect the
// document ticks is on at its stored strengths (myopia blurred at its
// dioptres), except the photo flash: it lights one frame in thirty, and a
// still shows the view between flashes. Writes 640 x 480 pixels of red,
// green and blue bytes, rows from the top, into `rgb`. Returns 1. Runs the whole simulator
// on the null platform; one still takes a few megabytes for its duration.
int simulation_still(const vision::Document& doc, int eye, const StillSources& sources,
                     std::vector<uint8_t>& rgb);

}  // namespace shell
