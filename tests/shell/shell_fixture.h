// shell_fixture.h -- a simulator on the null platform, brought to the intro or the simulation on demand.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include "sim/platform/null_platform.h"
#include "sim/shell/shell.h"
#include "support/temp_dir.h"

namespace shell_testing {

using platform::DrawnText;
using platform::FileDialogCall;
using platform::NullPlatform;

class ShellTest : public testing::Test {
protected:
    NullPlatform fake;
    std::unique_ptr<shell::Simulator> sim = std::make_unique<shell::Simulator>(fake);
    testing_support::TempDir folder;  // start-up directory: no vitrion.dat unless a test puts one

    // Start-up, with the start-up directory moved to the test's own folder.
    void create() {
        shell::on_create(*sim);
        std::snprintf(sim->startup_directory, sizeof sim->startup_directory, "%s",
                      folder.path().c_str());
    }
    // Up to the intro: creation and the first tick (the start-up loader).
    void intro() {
        create();
        shell::on_timer(*sim);
    }
    // Into the simulation with a left click; the status set by the start is cleared.
    void simulation() {
        intro();
        shell::on_left_button_down(*sim, 0, 0);
        ASSERT_EQ(sim->engine.simulation_started, 1);
        sim->status_visible = 0;
        fake.texts.clear();
    }
    // Puts the build's default vision file into the start-up directory.
    // Returns 0 when the build has not made one.
    int use_default_vision() {
        const std::filesystem::path source = std::filesystem::path(VITRION_BIN_DIR) / "vitrion.dat";
        std::error_code error;
        if (!std::filesystem::exists(source, error)) return 0;
        return std::filesystem::copy_file(source, folder.file("vitrion.dat"), error) ? 1 : 0;
    }
    // Enables every optional effect of the vision header.
    void enable_every_effect() {
        vision::Header& h = sim->document.header;
        h.myopia_on = h.blood_cells_on = h.cataracts_on = h.flashes_on = 1;
        h.sac_refractions_on = h.stars_on = h.sparks_on = h.retina_shadow_on = 1;
        h.sunglasses_on = 1;
        h.myopia_dioptres = 3;
    }
};

}  // namespace shell_testing
