// What the start panel publishes that no host scenario can see: the
// ignition code the EFIS control panel reads.
#include <gtest/gtest.h>

#include "fake_host.h"
#include "main_module/gauge_table.h"
#include "main_module/state.h"

namespace {

TEST(Starter, IgnitionCodeNamesTheIgnitionsThatAreOn) {
    reset_module_state();
    FakeHost host;
    quillmar.electric.elec_power_state = 2;
    GaugeHeader* starter = &gauge_Starter.h;
    struct Case {
        double left, right;
        int32_t code;
    };
    for (const Case& c : {Case{0, 0, 0}, Case{1, 0, 1}, Case{0, 1, 2}, Case{1, 1, 3}}) {
        quillmar.starter.starter_ignition_left_pos = c.left;
        quillmar.starter.starter_ignition_right_pos = c.right;
        starter->callback(starter, SERVICE_UPDATE, 0);
        EXPECT_EQ(quillmar.panels.ignition_code, c.code) << c.left << " " << c.right;
    }
    // Without power both ignitions drop out, and the code with them.
    quillmar.electric.elec_power_state = 0;
    starter->callback(starter, SERVICE_UPDATE, 0);
    EXPECT_EQ(quillmar.panels.ignition_code, 0);
}

}  // namespace
